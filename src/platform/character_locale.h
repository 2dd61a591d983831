// Characters read as UTF-8 whatever the locale: file names, titles and messages are the same
// bytes in the C locale of a script or a bare login as on a UTF-8 desktop.
#pragma once

namespace tavrel::platform {

// When the locale's character type is not UTF-8 (the C locale, an old 8-bit one), switches
// the character type alone to the UTF-8 form of the same locale, else to C.UTF-8; language,
// numbers and dates stay as the user set them. Call it after the application object exists,
// which reads the locale from the environment, and before the first window is shown.
void useUtf8Characters();

} // namespace tavrel::platform
