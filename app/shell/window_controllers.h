// What the window works on: the history, and the search panel that follows it. Built
// before the history starts, so that the panel reads the history start-up opens.
#pragma once

#include "app/history/history_controller.h"
#include "app/search/search_panel_controller.h"

namespace drawfollow {

struct WindowControllers {
    WindowControllers(AppSettings& settings, const Clock& clock)
        : history(settings, clock), search(history, settings) {}

    HistoryController history;
    SearchPanelController search;
};

}  // namespace drawfollow
