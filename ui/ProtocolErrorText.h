#pragma once
// The window's words for a reply the upload protocol does not allow: the caption and text of
// its "数据错误" message box.

#include <QString>

#include "UploadProtocolError.h"

namespace leeb {

QString ProtocolErrorCaption();
QString ProtocolErrorText(const UploadProtocolError& error);

}  // namespace leeb
