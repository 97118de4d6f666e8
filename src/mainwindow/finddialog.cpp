#include "finddialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FindDialog::FindDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("查找"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setMinimumWidth(260);
    m_matchCase = new QCheckBox(tr("区分大小写"), this);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_wholeWord = new QCheckBox(tr("全字匹配"), this);
    m_wholeWord->setObjectName(QStringLiteral("wholeWord"));

    m_ok = new QPushButton(tr("查找"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    auto *cancel = new QPushButton(tr("取消"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Nothing to find in an empty text.
    connect(m_text, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_ok->setEnabled(!text.isEmpty()); });
    m_ok->setEnabled(false);

    auto *form = new QFormLayout;
    form->addRow(tr("查找内容："), m_text);
    auto *options = new QHBoxLayout;
    options->addWidget(m_matchCase);
    options->addWidget(m_wholeWord);
    options->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addLayout(buttons);
}

QString FindDialog::text() const
{
    return m_text->text();
}

bool FindDialog::matchCase() const
{
    return m_matchCase->isChecked();
}

bool FindDialog::wholeWord() const
{
    return m_wholeWord->isChecked();
}

void FindDialog::setOptions(const QString &text, bool matchCase, bool wholeWord)
{
    m_text->setText(text);
    m_text->selectAll();
    m_matchCase->setChecked(matchCase);
    m_wholeWord->setChecked(wholeWord);
}
