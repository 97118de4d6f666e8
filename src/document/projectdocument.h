#pragma once

#include <QMap>
#include <QObject>

#include <memory>

class Config;
class DrawManager;

// One project as a whole: its settings, devices, languages and tag
// libraries (Config) and its screens and scripts (DrawManager). A reader
// fills a document of its own; the application adopts it only when the read
// has succeeded, so the project being edited is never left half replaced.
// Any number may exist at once; one is current, and Config::instance() and
// DrawManager::instance() are the current document's parts.
class ProjectDocument : public QObject
{
    Q_OBJECT
public:
    // A new, empty project; not current.
    ProjectDocument();
    ~ProjectDocument() override;

    Config *config() const { return m_config; }
    DrawManager *screens() const { return m_screens; }
    bool isCurrent() const;

    // The document whose parts Config::instance() and
    // DrawManager::instance() are, made on first use.
    static ProjectDocument *current();
    // Makes document the current one and hands back the one it replaces
    // (for the caller to delete, usually by letting it go). Null adopts a
    // new, empty project. New screens are numbered on from those the
    // document holds.
    static std::unique_ptr<ProjectDocument> adopt(std::unique_ptr<ProjectDocument> document);

    // Makes a document's Config the current one for as long as it lives:
    // the readers of shapes and settings note what they find through
    // Config::instance(), and a document being read is not yet current.
    // The numbering of new screens is the current project's again
    // afterwards.
    class ReadScope
    {
    public:
        explicit ReadScope(ProjectDocument *document);
        ~ReadScope();
        ReadScope(const ReadScope &) = delete;
        ReadScope &operator=(const ReadScope &) = delete;

    private:
        ProjectDocument *m_document;
        Config *m_previous;
        QMap<int, int> m_previousCounters;
    };

private:
    // Takes over parts made before any document existed.
    ProjectDocument(Config *config, DrawManager *screens);

    Config *m_config; // child
    DrawManager *m_screens; // child
    // Screens made per type while this document was being read, for new
    // screens to be numbered on from once it is current.
    QMap<int, int> m_screenCounters;
};
