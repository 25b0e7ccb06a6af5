// SPDX-License-Identifier: GPL-3.0-or-later
// info.ini faults seen from the window, injected in ways root cannot bypass:
// each ends the compute handler (or the start-up load) with the exact text in
// the error box, the full stop appended, the old file left byte for byte and
// no temporary file beside it.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "tests/app/TestSupport.h"

namespace {

const QByteArray OldBytes = "2800\r\n21000000\r\n20000000\r\n4500000\r\n2000000\r\n1000000\r\n350\r\n26000000\r\n";

QByteArray Bytes(const QString& Path) {
  QFile File(Path);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray("(unreadable)");
}

QStringList Entries(const QString& Folder) {
  return QDir(Folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class WindowFaultTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }
  void infoIniAFolderEndsTheComputationWithTheCreateError();
  void shortWriteEndsTheComputationAndKeepsTheOldFile();
  void readFailingAfterTheOpenIsReportedAtStart();
};

void WindowFaultTest::infoIniAFolderEndsTheComputationWithTheCreateError() {
  WindowFixture Fixture([](const QString& Folder) {
    QVERIFY(QDir(Folder).mkpath(QStringLiteral("info.ini")));
    QFile Kept(Folder + QStringLiteral("/info.ini/kept"));
    QVERIFY(Kept.open(QIODevice::WriteOnly) && Kept.write(OldBytes) == OldBytes.size());
  });
  TForm1& Form = Fixture.Form();
  QVERIFY(Fixture.Recorder.Messages.isEmpty());  // a folder of that name is no file to load
  FillInputA(Form);
  Click(Form.Button1);
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Kind, MessageKind::Error);
  QCOMPARE(Fixture.Recorder.Messages[0].Text,
           QStringLiteral("Cannot create file \"%1\". Is a directory.").arg(Fixture.InfoPath()));
  QCOMPARE(Form.RichEdit1->toPlainText(), ReportOfInputA());
  QVERIFY(Form.Panel2->isVisible());
  QCOMPARE(Entries(Fixture.Folder()), QStringList{QStringLiteral("info.ini")});
  QCOMPARE(Entries(Fixture.InfoPath()), QStringList{QStringLiteral("kept")});
  QCOMPARE(Bytes(Fixture.InfoPath() + QStringLiteral("/kept")), OldBytes);
}

void WindowFaultTest::shortWriteEndsTheComputationAndKeepsTheOldFile() {
  WindowFixture Fixture([](const QString& Folder) {
    QFile Old(Folder + QStringLiteral("/info.ini"));
    QVERIFY(Old.open(QIODevice::WriteOnly) && Old.write(OldBytes) == OldBytes.size());
  });
  TForm1& Form = Fixture.Form();
  // The stored figures came in; the rest of input A is typed over them.
  QCOMPARE(Form.Edit1->text(), QStringLiteral("2800"));
  for (QLineEdit* Edit :
       {Form.Edit25, Form.Edit18, Form.Edit1, Form.Edit2, Form.Edit3, Form.Edit4, Form.Edit5, Form.Edit26})
    Edit->clear();
  FillInputA(Form);

  // A file size limit of 20 bytes stands in for a full disk: the write stops
  // short with EFBIG. The signal the kernel also sends is ignored meanwhile.
  rlimit Saved{};
  QVERIFY(::getrlimit(RLIMIT_FSIZE, &Saved) == 0);
  const rlimit Small{20, Saved.rlim_max};
  const auto OldHandler = ::signal(SIGXFSZ, SIG_IGN);
  QVERIFY(::setrlimit(RLIMIT_FSIZE, &Small) == 0);
  Click(Form.Button1);
  ::setrlimit(RLIMIT_FSIZE, &Saved);
  ::signal(SIGXFSZ, OldHandler);

  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Kind, MessageKind::Error);
  QCOMPARE(Fixture.Recorder.Messages[0].Text, QStringLiteral("Stream write error."));
  QCOMPARE(Form.RichEdit1->toPlainText(), ReportOfInputA());
  QVERIFY(Form.Panel2->isVisible());
  QCOMPARE(Bytes(Fixture.InfoPath()), OldBytes);
  QCOMPARE(Entries(Fixture.Folder()), QStringList{QStringLiteral("info.ini")});
}

void WindowFaultTest::readFailingAfterTheOpenIsReportedAtStart() {
  // /proc/self/mem opens as a regular file; reading its first page fails (EIO).
  WindowFixture Fixture([](const QString& Folder) {
    QVERIFY(::symlink("/proc/self/mem", QFile::encodeName(Folder + QStringLiteral("/info.ini")).constData()) == 0);
  });
  TForm1& Form = Fixture.Form();
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Kind, MessageKind::Error);
  QCOMPARE(Fixture.Recorder.Messages[0].Text,
           QStringLiteral("Cannot open file \"%1\". Input/output error.").arg(Fixture.InfoPath()));
  QVERIFY(Form.isVisible());
  for (int Number = 1; Number <= 26; ++Number)
    QCOMPARE(Form.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(Number))->text(), QString());
}

QTEST_MAIN(WindowFaultTest)
#include "WindowFaultTest.moc"
