#include "PdfText.h"

#include <QProcess>
#include <QRegularExpression>

namespace leeb::testing {
namespace {

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString Unescape(QString text) {
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

}  // namespace

std::vector<PdfWord> PdfWords(const QString& pdfPath) {
    const QString xhtml = Run(QStringLiteral("pdftotext"), {"-bbox", pdfPath, "-"});
    static const QRegularExpression token(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<PdfWord> words;
    int page = 0;
    for (auto it = token.globalMatch(xhtml); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        words.push_back(PdfWord{page, match.captured(1).toDouble(), match.captured(2).toDouble(),
                                match.captured(3).toDouble(), match.captured(4).toDouble(),
                                Unescape(match.captured(5))});
    }
    return words;
}

QString PdfFonts(const QString& pdfPath) {
    return Run(QStringLiteral("pdffonts"), {pdfPath});
}

QString PdfInfo(const QString& pdfPath) {
    return Run(QStringLiteral("pdfinfo"), {pdfPath});
}

}  // namespace leeb::testing
