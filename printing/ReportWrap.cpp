#include "ReportWrap.h"

#include <QRegularExpression>
#include <QString>
#include <QTextBoundaryFinder>

#include "GbkText.h"

namespace leeb {
namespace {

int Length(const QString& text) {
    return static_cast<int>(GbkLength(text.toStdString()));
}

QString WithoutTrailingBlanks(QString text) {
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

// The longest start of `word` that fits `width`, at least one character (a surrogate pair
// stays whole), so a line always makes progress.
qsizetype FittingPrefix(const QString& word, int width) {
    qsizetype end = 0;
    while (end < word.size()) {
        const qsizetype next = end + (word.at(end).isHighSurrogate() && end + 1 < word.size() ? 2 : 1);
        if (end > 0 && Length(word.left(next)) > width)
            break;
        end = next;
    }
    return end;
}

void WrapParagraph(const QString& paragraph, int width, std::vector<std::string>& pieces) {
    QString line;
    auto add = [&](QString segment) {
        if (Length(WithoutTrailingBlanks(line + segment)) <= width) {
            line += segment;
            return;
        }
        if (!WithoutTrailingBlanks(line).isEmpty())
            pieces.push_back(WithoutTrailingBlanks(line).toStdString());
        line.clear();
        while (Length(WithoutTrailingBlanks(segment)) > width) {
            const qsizetype cut = FittingPrefix(segment, width);
            pieces.push_back(segment.left(cut).toStdString());
            segment.remove(0, cut);
        }
        line = segment;
    };
    // The segments between the break opportunities of Unicode's line breaking rules.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, paragraph);
    qsizetype start = 0;
    for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary()) {
        if (at > start)
            add(paragraph.mid(start, at - start));
        start = at;
    }
    if (start < paragraph.size())
        add(paragraph.mid(start));
    const QString last = WithoutTrailingBlanks(line);
    if (!last.isEmpty() || pieces.empty())
        pieces.push_back(last.toStdString());
}

}  // namespace

std::vector<std::string> WrapGbk(const std::string& text, int width) {
    std::vector<std::string> pieces;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& paragraph : QString::fromStdString(text).split(lineBreak)) {
        std::vector<std::string> wrapped;
        WrapParagraph(paragraph, width, wrapped);
        pieces.insert(pieces.end(), wrapped.begin(), wrapped.end());
    }
    return pieces;
}

}  // namespace leeb
