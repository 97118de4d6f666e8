#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// `marovin-cli tags export|import|usage`: moves a project's address or text
// tag library to and from spreadsheet and text files through the same
// exchange code as the library dialogs, or lists where the shapes use each
// tag. Loads one project into the process-wide
// Config, so an instance runs one command once.
class TagsCommand
{
    Q_DECLARE_TR_FUNCTIONS(TagsCommand)

public:
    // arguments as the process got them, "tags" being the first after the
    // program. Returns the exit code: 0 on success, 1 after a message on
    // stderr.
    int run(const QStringList &arguments);

private:
    bool load(const QString &file, const QString &password);
    int exportTags(const QString &output, bool address);
    int importTags(const QString &input, bool address, const QString &output);
    // Each tag's uses (screen, shape, binding kind) and the tags nothing
    // uses, as text or JSON, on stdout.
    int usage(bool json);
};
