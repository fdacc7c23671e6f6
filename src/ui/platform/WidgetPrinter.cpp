#include "WidgetPrinter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace kestrava {

namespace {

// The window's image as large as the page allows, its proportions kept, centred.
void paintFitted(QPainter &painter, const QImage &image)
{
    const QRect page = painter.viewport();
    QSizeF size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    const QRectF target(page.x() + (page.width() - size.width()) / 2,
        page.y() + (page.height() - size.height()) / 2, size.width(), size.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}

} // namespace

WidgetPrinter::WidgetPrinter(QString pdfFolder, std::function<bool()> printerInstalled)
    : m_pdfFolder(std::move(pdfFolder))
    , m_printerInstalled(printerInstalled ? std::move(printerInstalled) : &WidgetPrinter::AnyPrinterInstalled)
{ }

bool WidgetPrinter::AnyPrinterInstalled()
{
    return !QPrinterInfo::availablePrinters().isEmpty();
}

QString WidgetPrinter::pdfPath() const
{
    const QDir folder(m_pdfFolder);
    const QString stem = QStringLiteral("Kestrava-impression-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // Two prints in the same second keep both pages.
    QString path = folder.filePath(stem + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(stem + u'-' + QString::number(n) + QStringLiteral(".pdf"));
    return path;
}

PrintOutcome WidgetPrinter::printWindow()
{
    if (!m_window)
        return {};
    const QImage image = m_window->grab().toImage();

    if (m_printerInstalled()) {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            info = QPrinterInfo::availablePrinters().value(0);
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setDocName(QStringLiteral("Kestrava"));
        QPainter painter;
        if (!painter.begin(&printer))
            return {};
        paintFitted(painter, image);
        return { painter.end(), {} };
    }

    // A fresh account may have no documents folder yet.
    QDir().mkpath(m_pdfFolder);
    const QString path = pdfPath();
    {
        QPdfWriter writer(path);
        writer.setCreator(QStringLiteral("Kestrava"));
        writer.setTitle(m_window->windowTitle());
        writer.setResolution(150);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
            QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        paintFitted(painter, image);
        if (!painter.end())
            return {};
    }
    const QFileInfo written(path);
    if (!written.isFile() || written.size() == 0)
        return {};
    return { false, written.absoluteFilePath() };
}

} // namespace kestrava
