#include "DetailsChain.h"

#include <QCryptographicHash>

namespace leeb {
namespace {

void AddField(QCryptographicHash& hash, QByteArrayView bytes) {
    const auto size = static_cast<uint32_t>(bytes.size());
    const char length[4] = {static_cast<char>(size >> 24), static_cast<char>(size >> 16),
                            static_cast<char>(size >> 8), static_cast<char>(size)};
    hash.addData(QByteArrayView(length, 4));
    hash.addData(bytes);
}

void AddField(QCryptographicHash& hash, const std::string& text) {
    AddField(hash, QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

QByteArray DetailsChainValue(const QByteArray& previous, const QByteArray& contentKey,
                             int version, const std::string& changedAt, const std::string& author,
                             const ArchiveLabDetails& details, const std::string& reason) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    AddField(hash, previous);
    AddField(hash, contentKey);
    AddField(hash, std::to_string(version));
    for (const std::string* field : {&changedAt, &author, &details.Part, &details.Lot,
                                     &details.Operator, &details.Instrument, &details.Standard,
                                     &details.Remarks, &reason})
        AddField(hash, *field);
    return hash.result();
}

}  // namespace leeb
