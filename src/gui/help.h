// Help topics: short HTML pages shipped with the program, one per help
// context number, opened in the desktop's browser. Installed programs find
// them in the shared data folder; a program run from the build tree uses
// the source tree's help/ folder.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace vorlo {

// QDesktopServices::openUrl, as a plain function.
bool QDesktopServicesOpen(const QUrl& url);

// Full path of help/<context>.html, looked for first relative to
// `programFolder` (the installed layout), then in the source tree; empty
// when there is no such topic.
QString HelpTopicPath(int context, const QString& programFolder);

// Opens help/<context>.html; does nothing for context 0 or a missing topic.
// Returns whether a topic was handed to the browser.
bool OpenHelpTopic(int context);

// As OpenHelpTopic, but a topic that is missing or that the desktop cannot
// open is reported in a message box over `parent` naming the topic's file,
// so the person is not left wondering. `open` hands the topic to the desktop.
bool ShowHelpTopic(int context, QWidget* parent,
                   const std::function<bool(const QUrl&)>& open = &QDesktopServicesOpen);

}  // namespace vorlo
