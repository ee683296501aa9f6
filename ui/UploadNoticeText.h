#pragma once
// The window's words for what an upload tells its user: the text, caption and icon of the
// message box that shows it, in the interface language.

#include <QString>

#include "UploadNotice.h"

namespace leeb {

struct UploadNoticeBox {
    QString Text;
    QString Caption;
    unsigned Flags = 0;
};

UploadNoticeBox UploadNoticeBoxOf(const UploadNotice& notice);

}  // namespace leeb
