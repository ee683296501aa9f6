#pragma once
// The About box (F1), in the interface language: the program, its version, its licence and the
// versions of the Qt and chart libraries it runs on.

#include <QString>

class QWidget;

namespace leeb {

QString AboutText();
void ShowAboutBox(QWidget* parent);

}  // namespace leeb
