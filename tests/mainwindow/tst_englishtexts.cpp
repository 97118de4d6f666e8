// In English, no text the program itself shows is left in Chinese: the main
// window with a project open (menus, tool bars, docks, tool box, trees),
// every dialog its actions open, and every question those dialogs ask.
// Texts that come from the project (names, tag texts, fonts) may be Chinese
// and are taken out before a text is judged.

#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "mainwindow/mainactions.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/projectcontroller.h"
#include "model/config.h"
#include "services/modalseam.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <memory>

namespace {

bool hasChinese(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        // CJK ideographs and the full-width punctuation that comes with them.
        if ((u >= 0x3000 && u <= 0x303f) || (u >= 0x3400 && u <= 0x9fff)
            || (u >= 0xff00 && u <= 0xffef))
            return true;
    }
    return false;
}

// Every attribute value of the saved project that holds Chinese, longest
// first so that a long text goes before the shorter ones inside it.
QStringList projectTexts(const QByteArray &bytes)
{
    QSet<QString> found {QStringLiteral("宋体"), QStringLiteral("本地")};
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        for (const QXmlStreamAttribute &attribute : xml.attributes()) {
            const QString value = attribute.value().toString();
            if (hasChinese(value)) {
                found.insert(value);
                // Font descriptions show their family alone.
                found.insert(value.section(QLatin1Char(','), 0, 0));
            }
        }
    }
    QStringList texts = found.values();
    std::sort(texts.begin(), texts.end(),
              [](const QString &a, const QString &b) { return a.size() > b.size(); });
    return texts;
}

class Walker
{
public:
    explicit Walker(const QStringList &allowed) : m_allowed(allowed) {}

    void text(const QString &where, const QString &text)
    {
        QString rest = text;
        for (const QString &data : m_allowed)
            rest.remove(data);
        if (hasChinese(rest))
            m_faults.insert(where + QStringLiteral(": ") + text);
    }

    void widget(const QString &where, QWidget *root)
    {
        QList<QWidget *> widgets = root->findChildren<QWidget *>();
        widgets.prepend(root);
        for (QWidget *w : widgets) {
            const QString at = where + QLatin1Char('/') + className(w);
            text(at + QStringLiteral(" title"), w->windowTitle());
            text(at + QStringLiteral(" tip"), w->toolTip());
            text(at + QStringLiteral(" status tip"), w->statusTip());
            if (auto *label = qobject_cast<QLabel *>(w))
                text(at, label->text());
            if (auto *button = qobject_cast<QAbstractButton *>(w))
                text(at, button->text());
            if (auto *box = qobject_cast<QGroupBox *>(w))
                text(at, box->title());
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                text(at + QStringLiteral(" placeholder"), edit->placeholderText());
            if (auto *combo = qobject_cast<QComboBox *>(w)) {
                for (int i = 0; i < combo->count(); ++i)
                    text(at + QStringLiteral(" item"), combo->itemText(i));
            }
            if (auto *tabs = qobject_cast<QTabBar *>(w)) {
                for (int i = 0; i < tabs->count(); ++i)
                    text(at + QStringLiteral(" tab"), tabs->tabText(i));
            }
            if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
                for (QTreeWidgetItemIterator it(tree); *it; ++it)
                    text(at + QStringLiteral(" item"), (*it)->text(0));
            }
            if (auto *view = qobject_cast<QAbstractItemView *>(w)) {
                if (const QAbstractItemModel *model = view->model()) {
                    for (int c = 0; c < model->columnCount(); ++c)
                        text(at + QStringLiteral(" header"),
                             model->headerData(c, Qt::Horizontal).toString());
                }
            }
            for (QAction *action : w->actions())
                this->action(at, action);
        }
    }

    void action(const QString &where, QAction *action)
    {
        text(where + QStringLiteral(" action"), action->text());
        text(where + QStringLiteral(" action tip"), action->toolTip());
        text(where + QStringLiteral(" action status tip"), action->statusTip());
        if (QMenu *menu = action->menu())
            for (QAction *inner : menu->actions())
                this->action(where + QLatin1Char('/') + menu->title(), inner);
    }

    QStringList faults() const
    {
        QStringList list = m_faults.values();
        list.sort();
        return list;
    }

private:
    static QString className(const QWidget *w)
    {
        const QString name = w->objectName();
        return QString::fromLatin1(w->metaObject()->className())
               + (name.isEmpty() ? QString() : QLatin1Char('#') + name);
    }

    QStringList m_allowed;
    QSet<QString> m_faults;
};

} // namespace

class TestEnglishTexts : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { ProcessFixture::enterBinFolder(m_dir); }

    void cleanup()
    {
        ModalSeam::setHandler({});
        ProcessFixture::finish();
    }

    void nothingLeftInChinese()
    {
        ProcessFixture::forgetSettings();
        ProcessFixture::start();
        ProjectGenerator::Options options;
        options.screens = 2;
        options.shapesPerScreen = 12;
        options.fixedLayout = true;
        ProjectGenerator(11).build(options);
        const QString file = m_dir.filePath(QStringLiteral("english.mvprg"));
        Config::instance()->encryption = 0;
        QVERIFY(ProjectFile::write(file));
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        Walker walker(projectTexts(saved.readAll()));
        ProcessFixture::start();

        auto window = std::make_unique<MainWindow>();
        window->changeLanguage(1);
        QVERIFY(window->projectController()->openProject(file));
        window->show();
        QApplication::processEvents();

        // Each dialog is read while it stands open and then cancelled; each
        // question is read and answered No or Cancel.
        QString opening;
        ModalSeam::setHandler([&](const ModalRequest &request) {
            const QString where = opening + QStringLiteral(" > ") + request.title;
            walker.text(where + QStringLiteral(" title"), request.title);
            walker.text(where, request.text);
            for (const QString &button : request.buttons)
                walker.text(where + QStringLiteral(" button"), button);
            if (request.kind == ModalRequest::Dialog) {
                for (QWidget *top : QApplication::topLevelWidgets()) {
                    if (qobject_cast<QDialog *>(top))
                        walker.widget(where, top);
                }
            }
            ModalAnswer answer;
            answer.button = QMessageBox::Cancel;
            return answer;
        });

        // Shapes selected, so that editing commands have work to do.
        for (QGraphicsItem *item : DrawManager::instance()->scenes().first()->userItems())
            item->setSelected(!item->parentItem());
        walker.widget(QStringLiteral("main window"), window.get());
        for (QMenu *menu : window->mainActions()->menus())
            walker.widget(QStringLiteral("menu"), menu);
        const QStringList keys = window->mainActions()->keys();
        for (const QString &key : keys) {
            // Leaving the program or the project ends the walk.
            if (key == QLatin1String("exit") || key == QLatin1String("close")
                || key == QLatin1String("new") || key == QLatin1String("open"))
                continue;
            QAction *action = window->action(key);
            if (!action || !action->isEnabled())
                continue;
            opening = key;
            if (qEnvironmentVariableIsSet("WALK_TRACE"))
                qInfo("action %s", qPrintable(key));
            action->trigger();
            QApplication::processEvents();
        }
        // The commands above left undo steps: their texts name the edits.
        walker.widget(QStringLiteral("main window after"), window.get());
        for (QMenu *menu : window->mainActions()->menus())
            walker.widget(QStringLiteral("menu after"), menu);
        ModalSeam::setHandler({});
        ProcessFixture::close(window);

        QVERIFY2(walker.faults().isEmpty(),
                 qPrintable(walker.faults().join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestEnglishTexts)
#include "tst_englishtexts.moc"
