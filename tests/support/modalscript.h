#pragma once

#include "services/modalseam.h"

#include <QMessageBox>
#include <QQueue>
#include <QTest>

// Answers modal requests from a queue for the lifetime of the object; an
// empty queue answers "cancel" so a forgotten answer fails a test instead
// of blocking it.
class ModalScript
{
public:
    ModalScript()
    {
        ModalSeam::setHandler([this](const ModalRequest &) {
            const ModalAnswer answer = m_answers.isEmpty() ? cancelled() : m_answers.dequeue();
            if (m_openFor > 0) {
                ++m_asking;
                QTest::qWait(m_openFor);
                --m_asking;
            }
            return answer;
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

    // A real box runs an event loop while the user reads it, so timers fire
    // inside it; keeps each request open that long before answering.
    void keepOpenFor(int ms) { m_openFor = ms; }
    // True while a request is being held open.
    bool isAsking() const { return m_asking > 0; }

private:
    static ModalAnswer cancelled()
    {
        ModalAnswer answer;
        answer.button = QMessageBox::Cancel;
        return answer;
    }

    QQueue<ModalAnswer> m_answers;
    int m_openFor = 0;
    int m_asking = 0;
};
