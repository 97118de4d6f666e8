#include "support/filebytes.h"

#include <QDirIterator>
#include <QMap>
#include <QRegularExpression>
#include <QtTest>

#include <utility>

// What the build's layering cannot enforce: the model holds no widgets, no
// file grows past what a reader takes in at once, and no class gathers more
// jobs than a reader can keep apart.
class TestLayering : public QObject
{
    Q_OBJECT

    // The sources and headers under src/folder (all of src/ when empty).
    static QStringList sources(const QString &folder = QString())
    {
        QStringList files;
        QDirIterator it(QStringLiteral(MAROVIN_SOURCE_DIR "/") + folder,
                        {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

    static QString text(const QString &path) { return QString::fromUtf8(fileBytes(path)); }

    // The files under src/folder whose text matches pattern.
    static QStringList matching(const QString &folder, const QString &pattern)
    {
        const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
        QStringList found;
        for (const QString &file : sources(folder)) {
            if (re.match(text(file)).hasMatch())
                found << file;
        }
        return found;
    }

    // Each class or struct defined in header (nested ones apart from their
    // outer class) with the number of member functions it declares:
    // constructors, destructors, operators, signals, slots, static and
    // inline ones alike, each declaration once. Not counted: data members,
    // deleted functions, friends, using and typedef lines, and Qt's macros.
    static QMap<QString, int> memberFunctionCounts(QString header)
    {
        using RE = QRegularExpression;
        header.remove(RE(QStringLiteral("//[^\\n]*|/\\*.*?\\*/"), RE::DotMatchesEverythingOption));
        header.replace(RE(QStringLiteral("\"(\\\\.|[^\"\\\\])*\"")), QStringLiteral("\"\""));
        header.replace(RE(QStringLiteral("'(\\\\.|[^'\\\\])*'")), QStringLiteral("''"));
        header.remove(RE(QStringLiteral("^\\s*#[^\\n]*"), RE::MultilineOption));
        header.remove(RE(QStringLiteral("\\bQ_[A-Z_]+\\b(\\s*\\(([^()]|\\([^()]*\\))*\\))?")));

        const RE access(QStringLiteral(
            "\\b((public|protected|private)(\\s+(slots|Q_SLOTS))?|signals|Q_SIGNALS)\\s*:(?!:)"));
        const RE templateArguments(QStringLiteral("<[^<>]*>"));
        const RE call(QStringLiteral("(~?\\w+|operator\\s*[^\\w\\s(]+|operator\\s*\\(\\s*\\))\\s*\\("));
        const RE assignment(QStringLiteral("(?<![=!<>])=(?!=)"));
        const RE ignored(QStringLiteral("^(friend|using|typedef)\\b|=\\s*delete$"));

        QMap<QString, int> counts;
        // Not the class or struct of a template parameter list.
        const RE definitions(QStringLiteral(
            "\\b(?<!enum )(?<!<)(?<!< )(?<!,)(?<!, )(class|struct)\\s+(\\w+)[^;{()]*\\{"));
        QRegularExpressionMatchIterator classes = definitions.globalMatch(header);
        while (classes.hasNext()) {
            const QRegularExpressionMatch definition = classes.next();
            // The statements at the class's own depth; a body or a nested
            // definition ends the statement that opened it.
            QStringList statements;
            QString statement;
            int depth = 1;
            for (int i = definition.capturedEnd(); i < header.size() && depth > 0; ++i) {
                const QChar c = header.at(i);
                if (c == QLatin1Char('{')) {
                    if (depth == 1)
                        statements << std::exchange(statement, QString());
                    ++depth;
                } else if (c == QLatin1Char('}')) {
                    --depth;
                } else if (depth == 1) {
                    if (c == QLatin1Char(';'))
                        statements << std::exchange(statement, QString());
                    else
                        statement += c;
                }
            }
            int functions = 0;
            for (const QString &whole : qAsConst(statements)) {
                for (QString part : whole.split(access)) {
                    for (QString bare; (bare = QString(part).remove(templateArguments)) != part;)
                        part = bare;
                    part = part.simplified();
                    const QRegularExpressionMatch name = call.match(part);
                    if (!name.hasMatch() || ignored.match(part).hasMatch())
                        continue;
                    const QRegularExpressionMatch equals = assignment.match(part);
                    if (!equals.hasMatch() || equals.capturedStart() > name.capturedStart())
                        ++functions;
                }
            }
            counts[definition.captured(2)] += functions;
        }
        return counts;
    }

private slots:
    void layering_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("pattern"); // what no file there may hold
        // The build keeps each layer from naming a higher one's headers; what
        // it cannot see is a widget class written in the layer of data.
        QTest::newRow("the model holds no widgets")
            << "model"
            << "class\\s+\\w+\\s*:\\s*public\\s+Q(\\w*(Widget|View|Dialog|Box|Bar|Edit|Frame|"
               "Window|Menu|Button|Splitter)|Label)\\b";
        QTest::newRow("the model includes no widgets")
            << "model" << "^\\s*#\\s*include\\s*<(QtWidgets/)?Q(\\w*(Widget|Dialog|Box|Edit)|Application)>";
        // The document reads and holds a project: the window makes the views
        // and script editors that show it, and asks the user for passwords.
        QTest::newRow("the document makes no views, editors or prompts")
            << "document"
            << "^\\s*#\\s*include\\s*[\"<](editor/(drawview|codeeditor)\\.h|"
               "services/(verifypassword|messagedialog|filedialog)\\.h|Qsci/)";
    }

    void layering()
    {
        QFETCH(QString, folder);
        QFETCH(QString, pattern);
        QVERIFY(!sources(folder).isEmpty());
        const QStringList found = matching(folder, pattern);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char(' '))));
    }

    // The counting itself, on the shapes of declaration our headers use.
    void memberFunctionCounts_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::newRow("declarations and inline bodies")
            << "class A : public QObject\n{\n    Q_OBJECT\n    Q_PROPERTY(int x READ x)\npublic:\n"
               "    explicit A(QObject *parent = nullptr);\n    ~A() override;\n"
               "    int x() const { return m_x; }\n    static QString name();\n"
               "    bool operator==(const A &other) const;\n"
               "public slots:\n    void run();\nsignals:\n    void done(int code);\n"
               "private:\n    int m_x = 0;\n};\n"
            << "A" << 7;
        QTest::newRow("data members that look like calls")
            << "struct B {\n    std::function<void(int)> m_callback;\n    int m_y = qMax(1, 2);\n"
               "    QVector<int> m_list {1, 2};\n    const char *m_text = \"f(x);\";\n"
               "    B(const B &) = delete;\n    friend bool operator<(const B &, const B &);\n"
               "    void f(); // g();\n};"
            << "B" << 1;
        QTest::newRow("nested definitions count apart")
            << "template <class T> class C\n{\n    enum Kind { One = 1 };\n"
               "    struct Entry {\n        void a();\n        void b();\n    };\n"
               "    C() : m_z(f(1)) {}\n    void g(Entry e = Entry{});\n    int m_z;\n};"
            << "C" << 2;
        QTest::newRow("the nested one") << "class D { struct E { void a(); void b(); }; };"
                                        << "E" << 2;
    }

    void memberFunctionCounts()
    {
        QFETCH(QString, header);
        QFETCH(QString, name);
        QFETCH(int, count);
        QCOMPARE(memberFunctionCounts(header).value(name, -1), count);
    }

    // A class past about sixty member functions does several jobs.
    void noClassOver60MemberFunctions()
    {
        QStringList tooLarge;
        int classes = 0;
        for (const QString &file : sources()) {
            if (!file.endsWith(QLatin1String(".h")))
                continue;
            const QMap<QString, int> counts = memberFunctionCounts(text(file));
            for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
                ++classes;
                if (it.value() > 60)
                    tooLarge << QStringLiteral("%1 in %2 (%3)").arg(it.key(), file).arg(it.value());
            }
        }
        QVERIFY(classes > 100);
        QVERIFY2(tooLarge.isEmpty(), qPrintable(tooLarge.join(QLatin1Char(' '))));
    }

    void noFileOver800Lines()
    {
        const QStringList files = sources();
        QVERIFY(files.size() > 50);
        QStringList tooLong;
        for (const QString &file : files) {
            const int lines = text(file).count(QLatin1Char('\n'));
            if (lines > 800)
                tooLong << QStringLiteral("%1 (%2 lines)").arg(file).arg(lines);
        }
        QVERIFY2(tooLong.isEmpty(), qPrintable(tooLong.join(QLatin1Char(' '))));
    }
};

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
