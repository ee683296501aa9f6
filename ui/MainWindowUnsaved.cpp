// Records read from the tester exist nowhere else once the tester's memory is cleared: before
// anything replaces them unsaved (closing, opening, another upload) the user is asked.

#include <QCoreApplication>

#include "MainWindow.h"
#include "UploadPresenter.h"

namespace leeb {

namespace {

enum UnsavedAnswer { SaveThem = 0, DropThem = 1, KeepThem = 2 };

}  // namespace

bool MainWindow::MayReplaceRecords(RecordsReplacedBy by) {
    if (!RecordsUnsaved())
        return true;
    if (askingUnsaved_)
        return false;  // the open question decides; a second one must not answer it
    askingUnsaved_ = true;
    struct QuestionClosed {
        MainWindow& form;
        RecordsReplacedBy by;
        ~QuestionClosed() {
            form.askingUnsaved_ = false;
            // A start that came meanwhile (the tester's "AUTO") is made now, asking in turn
            // if the records are still unsaved; while the upload itself asked, it was that
            // same start.
            const bool again = form.startAfterQuestion_ && by != RecordsReplacedBy::Upload;
            form.startAfterQuestion_ = false;
            if (again && !form.closed_)
                form.upload_->ArmAutoStart();
        }
    } closed{*this, by};

    const int answer = dialogs_.AskQuestion(
        QCoreApplication::translate("MainWindow", "读入的记录还没有保存。\n要先保存吗?"),
        QCoreApplication::translate("MainWindow", "记录未保存"),
        {QCoreApplication::translate("MainWindow", "保存"),
         QCoreApplication::translate("MainWindow", "不保存"),
         QCoreApplication::translate("MainWindow", "取消")});
    switch (answer) {
        case DropThem:
            return true;
        case SaveThem:
            // A cancelled dialog, a refused replacement or a CSV export leave the records
            // unsaved, and then nothing replaces them.
            SaveClicked();
            return !RecordsUnsaved();
        default:
            return false;
    }
}

}  // namespace leeb
