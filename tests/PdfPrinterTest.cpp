// The PDF job offered when no printer is installed: a file appears only when the job completes.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/Faults.h"
#include "platform/qt/PdfPrinter.h"

namespace {

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class PdfPrinterTest : public QObject {
  Q_OBJECT

 private slots:
  void howTheJobEndsDecidesWhatIsOnDisk_data() {
    QTest::addColumn<QString>("ending");  // "end", "abort" or "drop"
    QTest::addColumn<bool>("earlierFile");
    QTest::addColumn<QByteArray>("expectedStart");  // "" = the earlier content or no file
    QTest::newRow("completed job is a PDF") << "end" << false << QByteArray("%PDF");
    QTest::newRow("completed job replaces an earlier file") << "end" << true << QByteArray("%PDF");
    QTest::newRow("aborted job leaves no file") << "abort" << false << QByteArray();
    QTest::newRow("aborted job keeps the earlier file") << "abort" << true << QByteArray();
    QTest::newRow("job dropped unfinished leaves no file") << "drop" << false << QByteArray();
  }
  void howTheJobEndsDecidesWhatIsOnDisk() {
    QFETCH(QString, ending);
    QFETCH(bool, earlierFile);
    QFETCH(QByteArray, expectedStart);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    if (earlierFile) {
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("earlier");
    }
    {
      rh::qt::PdfPrinter job(path.toStdString());
      job.Write("TIME OF CONCENTRATION  10 MIN.");
      job.EndLine();
      job.MoveToX(job.ColumnWidth() * 14);
      job.Write("250");
      QVERIFY(job.CurrentX() > job.ColumnWidth() * 14);
      if (ending == QLatin1String("end"))
        job.EndDoc();
      else if (ending == QLatin1String("abort"))
        job.AbortDoc();
    }
    const QByteArray contents = Contents(path);
    if (!expectedStart.isEmpty()) {
      QVERIFY(contents.startsWith(expectedStart));
      QVERIFY(contents.trimmed().endsWith("%%EOF"));
    } else if (earlierFile) {
      QCOMPARE(contents, QByteArray("earlier"));
    } else {
      QVERIFY(!QFile::exists(path));
    }
    // Nothing half-written is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(),
             QFile::exists(path) ? qsizetype{1} : qsizetype{0});
  }

  void longReportsContinueOnNewPages() {
    QTemporaryDir dir;
    rh::qt::PdfPrinter job(dir.filePath(QStringLiteral("long.pdf")).toStdString());
    for (int line = 0; line < 120; ++line) {
      job.Write("    TIME (MIN) =  10     DISCHARGE (CFS) =  12.7");
      job.EndLine();
    }
    job.EndDoc();
    QVERIFY(job.Pages() >= 2);
  }

  void faultsAreRaisedAsPrinterFaults() {
    QVERIFY_THROWS_EXCEPTION(rh::PrinterFault, rh::qt::PdfPrinter("/no/such/folder/report.pdf"));
    QTemporaryDir dir;
    rh::qt::PdfPrinter job(dir.filePath(QStringLiteral("r.pdf")).toStdString());
    job.EndDoc();
    QVERIFY_THROWS_EXCEPTION(rh::PrinterFault, job.Write("late"));
  }
};

QTEST_MAIN(PdfPrinterTest)
#include "PdfPrinterTest.moc"
