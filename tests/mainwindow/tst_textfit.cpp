// Texts fit the widgets that show them, in Chinese and in English, whether
// the language was chosen before the widget was made or switched after, and
// after rows with long names are added or pasted.

#include "editor/drawscene.h"
#include "mainwindow/itemstable.h"
#include "model/config.h"
#include "panels/device/projectconfigdialog.h"
#include "panels/property/propertydialog.h"
#include "panels/taglib/addressadddialog.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "shapes/graphicsrectitem.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"
#include "widgets/colorcombox.h"
#include "widgets/lineedit.h"
#include "widgets/tableview.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

namespace {

const QString LongName = QStringLiteral("Motor_feed_pump_left_bank_7_running");

enum Language { Chinese, English, SwitchedToEnglish };

// One text as shown: the room it has (in pixels) and how wide it is drawn.
struct Shown
{
    QString where;
    int needed = 0;
    int room = 0;
};

// Item views draw a text inside the cell less a focus margin on each side.
int itemTextRoom(const QAbstractItemView *view, QRect cell, bool clipped)
{
    if (clipped)
        cell = cell.intersected(view->viewport()->rect());
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return cell.width() - 2 * margin;
}

Shown cell(const QAbstractItemView *view, const QModelIndex &index)
{
    const QString text = index.data().toString();
    return {text, view->fontMetrics().horizontalAdvance(text),
            itemTextRoom(view, view->visualRect(index), false)};
}

Shown button(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect contents
        = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return {button->text(), button->fontMetrics().horizontalAdvance(button->text()),
            contents.width()};
}

// The page tree's entries, and the buttons of the page beside it.
QList<Shown> propertyTexts(QWidget *root)
{
    auto *tree = root->findChild<QTreeWidget *>(QStringLiteral("navigation"));
    QList<Shown> shown;
    for (const QPushButton *pushButton : root->findChildren<QPushButton *>()) {
        if (pushButton->isVisible())
            shown.append(button(pushButton));
    }
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QString text = (*it)->text(0);
        shown.append({text, tree->fontMetrics().horizontalAdvance(text),
                      itemTextRoom(tree, tree->visualItemRect(*it), true)});
    }
    return shown;
}

QList<Shown> fontTexts(QWidget *root)
{
    auto *table = root->findChild<QTableWidget *>(QStringLiteral("languages"));
    QList<Shown> shown;
    for (int row = 0; row < table->rowCount(); ++row) {
        // The font column is the one holding the editors.
        for (int column = 0; column < table->columnCount(); ++column) {
            QWidget *editor = table->cellWidget(row, column);
            auto *label = editor ? editor->findChild<QLabel *>(QStringLiteral("text")) : nullptr;
            if (!label)
                continue;
            const QRect contents = label->contentsRect();
            const QRect inCell(label->mapTo(editor, contents.topLeft()), contents.size());
            const QRect room = inCell.intersected(editor->rect());
            shown.append({label->text(), label->fontMetrics().horizontalAdvance(label->text()),
                          room.width()});
        }
    }
    return shown;
}

} // namespace

class TestTextFit : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QTranslator> m_english;

    void setEnglish(bool on)
    {
        if (on) {
            m_english = std::make_unique<QTranslator>();
            QVERIFY(m_english->load(QStringLiteral(":/en_US_app")));
            QCoreApplication::installTranslator(m_english.get());
        } else if (m_english) {
            QCoreApplication::removeTranslator(m_english.get());
            m_english.reset();
        }
    }

private slots:
    void initTestCase() { ProcessFixture::enterBinFolder(m_dir); }

    void cleanup()
    {
        setEnglish(false);
        ProcessFixture::finish();
    }

    void textsFit_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("language");
        const QStringList widgets = {"property pages", "colour board", "language fonts",
                                     "shape names", "added tag", "pasted tag", "added text tag"};
        const QList<QPair<const char *, Language>> languages
            = {{"Chinese", Chinese}, {"English", English}, {"switched", SwitchedToEnglish}};
        for (const QString &widget : widgets) {
            for (const auto &language : languages)
                QTest::addRow("%s, %s", qPrintable(widget), language.first)
                    << widget << int(language.second);
        }
    }
    void textsFit()
    {
        QFETCH(QString, widget);
        QFETCH(int, language);
        ProcessFixture::start(1024, 768);
        Config *config = Config::instance();
        // A family name as long as those the fonts on a Linux desktop carry.
        config->languages.append({"English", QString(), QFont("DejaVu Sans Mono Condensed", 9)});
        setEnglish(language == English);

        std::unique_ptr<QWidget> root;
        std::function<QList<Shown>()> texts;
        DrawScene scene;
        if (widget == "property pages") {
            root = std::make_unique<PropertyDialog>();
            texts = [&] { return propertyTexts(root.get()); };
        } else if (widget == "colour board") {
            auto *colours = new ColorCombox;
            root.reset(colours);
            texts = [colours] {
                colours->colorBoard()->popup(colours->mapToGlobal(QPoint()));
                QTest::qWait(1);
                return QList<Shown>({button(colours->transparentButton()),
                                     button(colours->otherButton())});
            };
        } else if (widget == "language fonts") {
            auto *dialog = new ProjectConfigDialog;
            root.reset(dialog);
            dialog->getConfig();
            texts = [&] { return fontTexts(root.get()); };
        } else if (widget == "shape names") {
            auto *table = new ItemsTable;
            root.reset(table);
            table->resize(300, 400);
            auto *rect = scenetest::addRect(&scene, QRectF(0, 0, 20, 20));
            rect->setObjectName(LongName);
            texts = [table, &scene] {
                table->fill(&scene);
                return QList<Shown>({cell(table, table->model()->index(0, 0))});
            };
        } else if (widget == "added tag" || widget == "pasted tag") {
            auto *dialog = new AddressLibDialog;
            root.reset(dialog);
            const bool pasted = widget == "pasted tag";
            texts = [dialog, pasted] {
                if (pasted) {
                    dialog->pasteRows(LongName + QStringLiteral("\t本地\tLW\t0\n"));
                } else {
                    AddressAddDialog::setRunner([](AddressAddDialog &add) {
                        add.findChild<LineEdit *>(QStringLiteral("name"))->setText(LongName);
                        add.findChild<QPushButton *>(QStringLiteral("ok"))->click();
                        return add.result();
                    });
                    dialog->on_add_clicked();
                    AddressAddDialog::setRunner({});
                }
                TableView *table = dialog->table();
                for (int row = 0; row < table->model()->rowCount(); ++row) {
                    const QModelIndex name = table->model()->index(row, Config::NameColumn);
                    if (name.data().toString() == LongName)
                        return QList<Shown>({cell(table, name)});
                }
                return QList<Shown>({{QStringLiteral("no row named %1").arg(LongName), 1, 0}});
            };
        } else {
            auto *dialog = new TextLibDialog;
            root.reset(dialog);
            dialog->reloadTable();
            texts = [dialog] {
                const int row = dialog->addLabel(LongName, 2);
                auto *table = dialog->findChild<QTableWidget *>();
                return QList<Shown>({cell(table, table->model()->index(row, 0))});
            };
        }
        root->show();
        QVERIFY(QTest::qWaitForWindowExposed(root.get()));
        if (language == SwitchedToEnglish) {
            setEnglish(true);
            // The new texts are laid out by posted requests, level by level;
            // settle them all rather than wait a time a busy machine misses.
            for (int pass = 0; pass < 5; ++pass) {
                for (QWidget *widget : root->findChildren<QWidget *>()) {
                    if (widget->layout())
                        widget->layout()->activate();
                }
                if (root->layout())
                    root->layout()->activate();
                QCoreApplication::sendPostedEvents();
                QCoreApplication::processEvents();
            }
        }

        const QList<Shown> shown = texts();
        QVERIFY(!shown.isEmpty());
        for (const Shown &text : shown) {
            QVERIFY2(text.needed <= text.room,
                     qPrintable(QStringLiteral("\"%1\" needs %2 px, has %3")
                                    .arg(text.where)
                                    .arg(text.needed)
                                    .arg(text.room)));
        }
        root.reset();
    }
};

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
