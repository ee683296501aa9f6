#pragma once
// One report run as the print-report button starts it: "Output Options", then the pages
// generated under "Report Status", then the preview, the printer or a PDF file.

#include <QPrintPreviewDialog>
#include <QWidget>
#include <functional>
#include <optional>

#include "OutputOptionsDialog.h"
#include "RecordFile.h"
#include "ReportContent.h"

namespace leeb {

class ReportSystem {
  public:
    // Asks for the output; nullopt when the user cancels. Default: OutputOptionsDialog.
    using OptionsProvider = std::function<std::optional<OutputOptions>(QWidget* parent)>;
    // Shows the prepared preview (already rendered, at 100 %). Default: exec().
    using PreviewShower = std::function<void(QPrintPreviewDialog& preview)>;

    ReportSystem();
    // The default options provider refers to this object.
    ReportSystem(const ReportSystem&) = delete;
    ReportSystem& operator=(const ReportSystem&) = delete;

    void SetOptionsProvider(OptionsProvider provider) { optionsProvider_ = std::move(provider); }
    void SetPreviewShower(PreviewShower shower) { previewShower_ = std::move(shower); }
    // What "报表信息..." in the output options does: lets the user change the content of the
    // run (SetContent) before it is generated. None: the dialog offers no such button.
    void SetDetailsEditor(std::function<void()> editor) { detailsEditor_ = std::move(editor); }
    // As the button does, for an options provider that stands in for the dialog.
    void EditDetails() {
        if (detailsEditor_) {
            detailsEditor_();
        }
    }
    // The details, limits and chosen records of the following runs; default: the plain report.
    void SetContent(ReportContent content) { content_ = std::move(content); }
    const ReportContent& Content() const { return content_; }

    // Cancel in either window ends the run silently with nothing output. A record line that
    // does not convert throws ConversionError before anything is output; an unusable printer
    // or file throws ReportError. Returns the PDF file written by the file destination.
    std::optional<QString> Run(QWidget* parent, const RecordLines& lines, char decimalSeparator);

  private:
    void ToPrinter(QWidget* parent, const OutputOptions& options, const RecordLines& lines,
                   char decimalSeparator, const QString& printDate);
    void ToPreview(QWidget* parent, const RecordLines& lines, char decimalSeparator,
                   const QString& printDate);
    void ToFile(QWidget* parent, const OutputOptions& options, const RecordLines& lines,
                char decimalSeparator, const QString& printDate);

    OptionsProvider optionsProvider_;
    PreviewShower previewShower_;
    std::function<void()> detailsEditor_;
    ReportContent content_;
};

}  // namespace leeb
