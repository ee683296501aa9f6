#include "GbkText.h"

#include <QString>
#include <QStringEncoder>

namespace leeb {

std::size_t GbkLength(std::string_view utf8) {
    // ASCII is one byte in GBK as in UTF-8; most texts in the report are plain numbers.
    bool ascii = true;
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        return utf8.size();
    }
    // One encoder per thread: an encoder carries state and is not safe to share.
    thread_local QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (!encoder.isValid()) {
        // No GBK converter available: every non-ASCII character of the report's texts is a
        // two-byte character in GBK.
        std::size_t length = 0;
        for (const QChar c : text) {
            length += (c.unicode() < 0x80 || c.isLowSurrogate()) ? 1 : 2;
        }
        return length;
    }
    const QByteArray bytes = encoder.encode(text);
    return static_cast<std::size_t>(bytes.size());
}

}  // namespace leeb
