// Timing log of start-up and hand entry. Enable with
// QT_LOGGING_RULES="drawfollow.timing.info=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcTiming)
