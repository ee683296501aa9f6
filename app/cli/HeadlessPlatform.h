#pragma once
// The Qt platform the report is drawn with. It must need no display and still know the
// system's fonts, or the PDF has pages without text. One implementation per operating system.

namespace leeb::cli {

// Called before the QGuiApplication is made; a platform the user chose is kept.
void ChooseHeadlessPlatform();

}  // namespace leeb::cli
