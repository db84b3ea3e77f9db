// The help links of the settings menu. The three addresses are configuration:
// change them here.
#pragma once

#include <QUrl>

#include <functional>

namespace drawfollow {

inline constexpr const char* kHomePageAddress = "https://drawfollow.example.org/";                // mnuFrontPage
inline constexpr const char* kDescriptionAddress = "https://drawfollow.example.org/manual.html";  // mnuDescrb
inline constexpr const char* kDemoRecordingAddress = "https://drawfollow.example.org/demo.zip";   // numYanshiDown

// Opens an address; the result is not checked and nothing is reported.
using UrlOpener = std::function<void(const QUrl&)>;

// The system's way: QDesktopServices, which hands the address to the desktop and does
// not wait for the browser.
UrlOpener systemUrlOpener();

}  // namespace drawfollow
