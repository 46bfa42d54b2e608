#include "ui/help/HelpTopics.h"

namespace qx7::help {

const std::vector<Topic>& allTopics()
{
    static const std::vector<Topic> all = [] {
        std::vector<Topic> v;
        for (const auto* part : {&mainTopics(), &managerAndSwlTopics(), &configTopics(),
                                 &logFileTopics(), &designerTopics()})
            v.insert(v.end(), part->begin(), part->end());
        return v;
    }();
    return all;
}

QStringList topicsWindowsAsk()
{
    QStringList names{kContents, kLogWindow, kLogSearch, kSwl, kManager};
    names << kOpenLog << kNewLog << kLogStatistics << kFooterLines << kLogGridSetup;
    names << kDateFormat << kAdifOptions << kImportSpecs;
    names << kDesignerIntro << kDesignerNewLayout << kDesignerElements << kDesignerOptions
          << kPrintOptions;
    for (const char* page : {"config00", "config01", "config02", "config03", "config04", "config05",
                             "config06", "config15", "config07", "config13", "config08", "config09",
                             "config10", "config11", "config12"})
        names << QString::fromLatin1(page);
    return names;
}

static const Topic* find(const QString& name)
{
    for (const Topic& t : allTopics())
        if (name == QLatin1String(t.name))
            return &t;
    return nullptr;
}

bool topicExists(const QString& name)
{
    return find(name) != nullptr;
}

QString topicTitle(const QString& name)
{
    const Topic* t = find(name);
    return t ? QString::fromUtf8(t->title) : name;
}

QString topicPage(const QString& name)
{
    const Topic* t = find(name);
    const QString title = t ? QString::fromUtf8(t->title) : QStringLiteral("Topic not found");
    const QString body =
        t ? QString::fromUtf8(t->html)
          : QStringLiteral("<p>There is no help page named \"%1\".</p>").arg(name.toHtmlEscaped());
    return QStringLiteral("<html><body><h2>%1</h2>%2"
                          "<p><hr><a href=\"topic:contents\">Contents</a></p></body></html>")
        .arg(title.toHtmlEscaped(), body);
}

} // namespace qx7::help
