#include "html/SeasonPublish.h"

#include "common/Controls.h"
#include "data/League.h"
#include "desktop/Desktop.h"
#include "html/SeasonSite.h"
#include "import/ProgressWindow.h"

namespace scorewell::gui {

void PublishSeasonSite(LeagueCommandContext& context) {
    const QString folder = TheDesktop().BrowseForFolder(
        context.owner, "Choose the folder to publish the season in. Files of an earlier publish "
                       "there are replaced; nothing else in it is touched.");
    if (folder.isEmpty()) {
        return;
    }
    SitePublished site;
    {
        // The total is known once the first file is written: the bar counts in hundredths.
        ProgressWindow progress("Publishing Season", 100, context.owner);
        progress.show();
        progress.Step("Gathering the season...", 0);
        try {
            site = PublishSeason(context.league, S(folder), [&progress](int done, int total) {
                progress.Step(QString("Writing file %1 of %2...").arg(done).arg(total),
                              done * 100 / total);
            });
        } catch (const std::exception& e) {
            progress.hide();
            ShowMessage(context.owner, "The season could not be published.\n\n" + Q(e.what()),
                        "Error", MessageIcon::Exclamation);
            return;
        }
    }
    if (!TheDesktop().ShellOpen(Q(site.index))) {
        ShowMessage(context.owner,
                    "The season was published, but the browser could not be started to show " +
                        Quoted(Q(site.index)) + ".",
                    "Notice", MessageIcon::Information);
    }
}

} // namespace scorewell::gui
