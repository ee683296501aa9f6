#include "AtomicFileDevice.h"

#include <string_view>

namespace leeb {

AtomicFileDevice::AtomicFileDevice(AtomicFileWriter& writer) : writer_(writer) {
    open(QIODevice::WriteOnly);
}

qint64 AtomicFileDevice::readData(char*, qint64) {
    return -1;
}

qint64 AtomicFileDevice::writeData(const char* data, qint64 size) {
    if (size < 0) {
        return -1;
    }
    return writer_.Write(std::string_view(data, static_cast<std::size_t>(size))) ? size : -1;
}

}  // namespace leeb
