#include "projectdocument.h"

#include "drawmanager.h"
#include "editor/drawscene.h"
#include "model/config.h"

namespace {

ProjectDocument *s_current = nullptr;

} // namespace

ProjectDocument::ProjectDocument()
    // The current document is made first: the first Config made becomes
    // the current one, and it must not be this document's.
    : ProjectDocument((current(), new Config), new DrawManager)
{
}

ProjectDocument::ProjectDocument(Config *config, DrawManager *screens)
    : m_config(config)
    , m_screens(screens)
{
    m_config->setParent(this);
    m_screens->setParent(this);
    // The interface language is the application's, not the project's.
    if (s_current && s_current->m_config != m_config) {
        m_config->showNew = s_current->m_config->showNew;
        if (m_config->uiLanguage != s_current->m_config->uiLanguage) {
            m_config->uiLanguage = s_current->m_config->uiLanguage;
            m_config->retranslate();
        }
    }
}

ProjectDocument::~ProjectDocument()
{
    // The screens go first: their shapes may still ask the settings.
    delete m_screens;
    m_screens = nullptr;
    if (s_current == this)
        s_current = nullptr;
}

bool ProjectDocument::isCurrent() const
{
    return s_current == this;
}

ProjectDocument *ProjectDocument::current()
{
    if (!s_current)
        s_current = new ProjectDocument(Config::instance(), DrawManager::instance());
    return s_current;
}

std::unique_ptr<ProjectDocument> ProjectDocument::adopt(std::unique_ptr<ProjectDocument> document)
{
    std::unique_ptr<ProjectDocument> previous(current());
    if (!document)
        document = std::make_unique<ProjectDocument>();
    s_current = document.release();
    Config::setCurrent(s_current->m_config);
    DrawManager::setCurrent(s_current->m_screens);
    DrawScene::screenCounters() = s_current->m_screenCounters;
    return previous;
}

ProjectDocument::ReadScope::ReadScope(ProjectDocument *document)
    // The current document is made first: made later, it would take the
    // read one's settings for its own.
    : m_document(document)
    , m_previous(Config::setCurrent((current(), document->config())))
    , m_previousCounters(DrawScene::screenCounters())
{
    DrawScene::screenCounters() = document->m_screenCounters;
}

ProjectDocument::ReadScope::~ReadScope()
{
    m_document->m_screenCounters = DrawScene::screenCounters();
    DrawScene::screenCounters() = m_previousCounters;
    Config::setCurrent(m_previous);
}
