#pragma once

#include "app/modalseam.h"

#include <QMessageBox>
#include <QQueue>

// Answers modal requests from a queue for the lifetime of the object; an
// empty queue answers "cancel" so a forgotten answer fails a test instead
// of blocking it.
class ModalScript
{
public:
    ModalScript()
    {
        ModalSeam::setHandler([this](const ModalRequest &) {
            return m_answers.isEmpty() ? cancelled() : m_answers.dequeue();
        });
    }
    ~ModalScript() { ModalSeam::setHandler({}); }

    void pressButton(int button)
    {
        ModalAnswer answer;
        answer.button = button;
        answer.accepted = button == QMessageBox::Yes;
        m_answers.enqueue(answer);
    }
    void chooseText(const QString &text)
    {
        ModalAnswer answer;
        answer.button = QMessageBox::Yes;
        answer.accepted = true;
        answer.text = text;
        m_answers.enqueue(answer);
    }

    const QVector<ModalRequest> &requests() const { return ModalSeam::history(); }
    QStringList texts() const
    {
        QStringList result;
        for (const ModalRequest &r : ModalSeam::history())
            result << r.text;
        return result;
    }
    int pending() const { return m_answers.size(); }

private:
    static ModalAnswer cancelled()
    {
        ModalAnswer answer;
        answer.button = QMessageBox::Cancel;
        return answer;
    }

    QQueue<ModalAnswer> m_answers;
};
