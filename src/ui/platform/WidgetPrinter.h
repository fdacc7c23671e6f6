#pragma once

#include "platform/Services.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace kestrava {

// Prints an image of the whole main window on the default printer, landscape, without a dialog.
// With no printer installed Qt would fall back to a PDF without a file name and paint nothing, so
// the same landscape page is written as a PDF in `pdfFolder` (the run folder, or the user's
// documents for an installed program) instead.
class WidgetPrinter final : public WindowPrinter
{
public:
    explicit WidgetPrinter(QString pdfFolder, std::function<bool()> printerInstalled = {});

    void setWindow(QWidget *window) { m_window = window; }
    PrintOutcome printWindow() override;

    // True when the print system knows at least one printer.
    static bool AnyPrinterInstalled();

private:
    QString pdfPath() const;

    QString m_pdfFolder;
    std::function<bool()> m_printerInstalled;
    QPointer<QWidget> m_window;
};

} // namespace kestrava
