#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QDialog;

// One request for a modal answer from the user: a message box, an input or
// password prompt, a file or folder chooser, a colour chooser (value and the
// answer's text are colour names, "#rrggbb"), a font chooser (value and the
// answer's text are QFont::toString() texts), or one of the program's own
// dialogs run modally (Dialog: the handler may read and set the dialog's
// controls while it answers; accepted stands for OK).
struct ModalRequest
{
    enum Kind { Message, TextInput, PasswordInput, OpenFile, SaveFile, Directory, Colour, Dialog, Font };

    Kind kind = Message;
    int icon = 0;            // QMessageBox::Icon for messages
    QString title;
    QString text;            // message text or prompt label
    QStringList buttons;     // button texts of a message, in order
    QString value;           // initial text, file or folder
    QString filter;          // file dialog name filter
};

struct ModalAnswer
{
    int button = 0;          // QMessageBox::StandardButton pressed
    bool accepted = false;   // prompts and choosers: OK rather than Cancel
    QString text;            // typed text or chosen path
};

// Every modal interaction of the program passes through here. In normal use
// the real dialog is shown; tests install a handler that answers instead, so
// no test ever blocks on a dialog, and read back what was asked.
class ModalSeam
{
public:
    using Handler = std::function<ModalAnswer(const ModalRequest &)>;

    // Installs the handler that answers every request from now on; an empty
    // handler restores the real dialogs. The request history is cleared.
    static void setHandler(Handler handler);
    static bool hasHandler();

    // Answers through the handler. Callers check hasHandler() first and show
    // their real dialog otherwise.
    static ModalAnswer answer(const ModalRequest &request);

    // Requests seen since the handler was installed, oldest first.
    static const QVector<ModalRequest> &history();

    // Runs one of the program's own dialogs: modally without a handler;
    // with one, the handler stands for the user (it may fill in the fields
    // first) and its answer presses OK (ok) or Cancel (cancel). Returns the
    // dialog's result, Rejected unless OK accepted it.
    static int runDialog(QDialog *dialog, const std::function<void()> &ok,
                         const std::function<void()> &cancel);
};
