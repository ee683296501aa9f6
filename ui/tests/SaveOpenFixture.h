#pragma once
// A window showing records as after an upload, with the save and open commands driven through
// scripted dialogs into a temporary folder.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "RecordFixtures.h"
#include "WindowFixture.h"

namespace leeb {

class SaveOpenTest : public WindowTest {
  protected:
    QTemporaryDir dir;

    char sep() const { return form->DecimalSeparatorInUse(); }
    QString PathOf(const QString& name) const { return dir.filePath(name); }

    RecordLines Sample() const {
        using namespace fixtures;
        return WithHeader({Line(SteelHRC, {453, 888, 461}, sep()),
                           Line(StrengthChromium, {500, 510}, sep()),
                           Line(SteelHL, {450, 460, 470, 480}, sep())});
    }
    void ShowAsUploaded(const RecordLines& lines) {
        form->ClearRecords();
        form->Lines() = {lines.front()};
        for (std::size_t r = 1; r < lines.size(); ++r) {
            form->Lines().push_back(lines[r]);
            AppendUploaded(static_cast<int>(r), static_cast<int>(r));
        }
        for (CommandButton b : {CommandButton::Read, CommandButton::Save, CommandButton::PrintChart,
                                CommandButton::PrintReport, CommandButton::Open}) {
            form->SetButtonEnabled(b, true);
        }
    }
    static void WriteFile(const QString& path, const QByteArray& content) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    static QByteArray FileContent(const RecordLines& lines) {
        QByteArray content;
        for (const std::string& line : lines)
            content += QByteArray::fromStdString(line) + "\r\n";
        return content;
    }
    void Save(const QString& path, int filterIndex = 0) {
        dialogs.SaveNames.push_back(path);
        dialogs.SaveFilterIndexes.push_back(filterIndex);
        form->RunCommand([this] { form->SaveClicked(); });
    }
    void Open(const QString& path) {
        dialogs.OpenNames.push_back(path);
        form->RunCommand([this] { form->OpenClicked(); });
    }
};

}  // namespace leeb
