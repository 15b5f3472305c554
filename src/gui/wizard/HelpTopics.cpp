#include "HelpTopics.h"

#include "catalogue/Catalogue.h"
#include "services/Services.h"
#include "settings/Folders.h"

namespace vexa {
namespace {

struct Topic {
    const char *keyword;
    const char *file;
    bool textDocument; // in the applet directory, shown as text
};

const Topic kTopics[] = {
    {"instruction", "helproot.html", false},
    {"faq", "generalfaq.html", false},
    {"topic_scrtext", "scrtext.txt", true},
    {"copyright", "copyright.txt", true},
};

} // namespace

QString HelpTopics::path(const QString &topic) const
{
    for (const Topic &entry : kTopics) {
        if (topic == QLatin1String(entry.keyword)) {
            const QString folder = entry.textDocument ? m_folders.appletDirectory() : m_folders.helpFolder();
            return folder + QLatin1Char('/') + QLatin1String(entry.file);
        }
    }
    return Catalogue::contains(topic) ? m_folders.helpPage(topic) : QString();
}

bool HelpTopics::open(const QString &topic)
{
    const QString target = path(topic);
    if (target.isEmpty())
        return false; // nothing chosen yet: nothing to show
    if (target.endsWith(QLatin1String(".txt"))) {
        m_services.showTextDocument(target);
        return true;
    }
    return m_services.showInBrowser(target);
}

} // namespace vexa
