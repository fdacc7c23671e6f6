// Printing the window: the landscape PDF beside the program when no printer is installed.
#include "UiTestKit.h"
#include "platform/WidgetPrinter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrava;
using namespace kestrava::uitest;

namespace {

bool noPrinter()
{
    return false;
}

} // namespace

class TestPrinter : public QObject
{
    Q_OBJECT

private slots:
    void landscapeWhateverTheWindowShape_data();
    void landscapeWhateverTheWindowShape();
    void twoPrintsKeepTwoPages();
    void unwritableFolderReportsNothing();
    void noWindowNothingPrinted();
};

void TestPrinter::landscapeWhateverTheWindowShape_data()
{
    QTest::addColumn<QSize>("windowSize");
    QTest::newRow("wide window") << QSize(900, 500);
    QTest::newRow("tall window") << QSize(300, 700);
}

void TestPrinter::landscapeWhateverTheWindowShape()
{
    QFETCH(QSize, windowSize);
    QTemporaryDir dir;
    QLabel window(QStringLiteral("Classement"));
    window.resize(windowSize);
    WidgetPrinter printer(dir.path(), noPrinter);
    printer.setWindow(&window);

    const PrintOutcome out = printer.printWindow();
    QVERIFY(!out.printed);
    QVERIFY(!out.pdfPath.isEmpty());
    QCOMPARE(QFileInfo(out.pdfPath).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    QVERIFY(QFileInfo(out.pdfPath).fileName().startsWith(QStringLiteral("Kestrava-impression-")));
    const QSizeF page = PdfPageSize(ReadFileBytes(out.pdfPath));
    QVERIFY(!page.isEmpty());
    QVERIFY2(page.width() > page.height(),
        qPrintable(QStringLiteral("%1 x %2").arg(page.width()).arg(page.height())));
}

void TestPrinter::twoPrintsKeepTwoPages()
{
    QTemporaryDir dir;
    QLabel window(QStringLiteral("Classement"));
    window.resize(400, 300);
    WidgetPrinter printer(dir.path(), noPrinter);
    printer.setWindow(&window);
    const QString first = printer.printWindow().pdfPath;
    const QString second = printer.printWindow().pdfPath;
    QVERIFY(!first.isEmpty());
    QVERIFY(!second.isEmpty());
    QVERIFY(first != second);
    QCOMPARE(QDir(dir.path()).entryList({ QStringLiteral("*.pdf") }).size(), 2);
}

void TestPrinter::unwritableFolderReportsNothing()
{
    QTemporaryDir dir;
    QLabel window(QStringLiteral("Classement"));
    window.resize(400, 300);
    // A folder that does not exist: no page can be written, and none is claimed.
    WidgetPrinter printer(QDir(dir.path()).filePath(QStringLiteral("absent/dossier")), noPrinter);
    printer.setWindow(&window);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
    const PrintOutcome out = printer.printWindow();
    QVERIFY(!out.printed);
    QVERIFY(out.pdfPath.isEmpty());
}

void TestPrinter::noWindowNothingPrinted()
{
    QTemporaryDir dir;
    WidgetPrinter printer(dir.path(), noPrinter);
    const PrintOutcome out = printer.printWindow();
    QVERIFY(!out.printed);
    QVERIFY(out.pdfPath.isEmpty());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(TestPrinter)
#include "tst_ui_printer.moc"
