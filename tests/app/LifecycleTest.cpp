// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up (FormCreate, FormShow with the stored base values), the caption,
// closing while the result panel shows, minimising, and the locale settings.
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QUrl>
#include <QWindow>

#include "ripple/WaterImage.h"
#include "tests/app/TestSupport.h"

namespace {

QStringList EditTexts(TForm1& Form) {
  QStringList Texts;
  for (int Number = 1; Number <= 26; ++Number)
    Texts << Form.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(Number))->text();
  return Texts;
}

std::function<void(const QString&)> InfoFile(const QByteArray& Bytes) {
  return [Bytes](const QString& Folder) {
    QFile File(Folder + QStringLiteral("/info.ini"));
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write(Bytes);
  };
}

}  // namespace

class LifecycleTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }

  void startsEmptyWithFocusOnEdit6();
  void storedValuesFillTheirFields();
  void unreadableStoredValuesAreReportedAndWindowShows();
  void formShowUnchecksCheckBox6ButFocusEndsOnEdit6();
  void captionAndFolder();
  void closeRequestWhileResultShowsReturnsToInputs();
  void sessionEndIsRefusedOnceWhileResultShows();
  void minimiseAndRestoreKeepInputs();
  void bannerClickOpensTheWebAddress();

 public slots:
  void OpenUrl(const QUrl& Url) { Opened << Url; }

 private:
  QList<QUrl> Opened;
};

void LifecycleTest::startsEmptyWithFocusOnEdit6() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  QCOMPARE(EditTexts(Form), QStringList(26, QString()));
  for (QCheckBox* Box : Form.findChildren<QCheckBox*>()) QVERIFY2(!Box->isChecked(), qPrintable(Box->objectName()));
  QCOMPARE(Form.ComboBox1->currentIndex(), -1);
  QCOMPARE(Form.ComboBox1->currentText(), QString());
  QCOMPARE(Focused(), static_cast<QWidget*>(Form.Edit6));
  QVERIFY(Form.Panel2->isVisible());
  QVERIFY(!Form.Panel1->isVisible());
  QVERIFY(Form.RichEdit1->toPlainText().isEmpty());
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
}

void LifecycleTest::storedValuesFillTheirFields() {
  // Edit18's stored amount differs from 3000 × 400: it is shown as stored.
  WindowFixture Fixture(InfoFile(" 3000\r\n25000000\r\n24000000\r\n5000000\r\n2500000\r\n999\r\n400\r\n30000000\r\n"));
  TForm1& Form = Fixture.Form();
  QStringList Expected(26, QString());
  Expected[0] = QStringLiteral(" 3000");  // as read, not trimmed
  Expected[1] = QStringLiteral("25000000");
  Expected[2] = QStringLiteral("24000000");
  Expected[3] = QStringLiteral("5000000");
  Expected[4] = QStringLiteral("2500000");
  Expected[17] = QStringLiteral("999");
  Expected[24] = QStringLiteral("400");
  Expected[25] = QStringLiteral("30000000");
  QCOMPARE(EditTexts(Form), Expected);
  QCOMPARE(Focused(), static_cast<QWidget*>(Form.Edit6));
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
  // The first key released in Edit1 recomputes the amount.
  Form.Edit1->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_End);
  QCOMPARE(Form.Edit18->text(), QStringLiteral("1200000"));
}

void LifecycleTest::unreadableStoredValuesAreReportedAndWindowShows() {
  // A link to itself exists but cannot be opened, even by root.
  WindowFixture Fixture([](const QString& Folder) {
    QVERIFY(::symlink("info.ini", (Folder + QStringLiteral("/info.ini")).toLocal8Bit().constData()) == 0);
  });
  TForm1& Form = Fixture.Form();
  QCOMPARE(Fixture.Recorder.Messages.size(), 1);
  QCOMPARE(Fixture.Recorder.Messages[0].Kind, MessageKind::Error);
  QCOMPARE(Fixture.Recorder.Messages[0].Text,
           QStringLiteral("Cannot open file \"%1\". Too many levels of symbolic links.").arg(Fixture.InfoPath()));
  QVERIFY(Form.isVisible());
  QCOMPARE(EditTexts(Form), QStringList(26, QString()));
}

void LifecycleTest::formShowUnchecksCheckBox6ButFocusEndsOnEdit6() {
  WindowFixture Fixture({}, [](TForm1& Form) {
    Form.CheckBox6->setChecked(true);
    Form.CheckBox2->setChecked(true);
    Form.Edit9->setText(QStringLiteral("design text"));
  });
  TForm1& Form = Fixture.Form();
  QVERIFY(!Form.CheckBox6->isChecked());
  QVERIFY(!Form.CheckBox2->isChecked());
  QCOMPARE(Form.Edit9->text(), QString());
  QCOMPARE(Focused(), static_cast<QWidget*>(Form.Edit6));
}

void LifecycleTest::captionAndFolder() {
  WindowFixture Fixture;
  QCOMPARE(Fixture.Form().windowTitle(),
           QStringLiteral(u"نرم افزار محاسبه احکام کارگزینی (برنامه نویس: ") + QString::fromUtf8(DECREE_AUTHOR_NAME) +
               QStringLiteral(" - ") + QString::fromUtf8(DECREE_AUTHOR_PHONE) + QStringLiteral(u") - نسخه 5.5.26"));
  // The working directory at creation, not the program's folder.
  QCOMPARE(Fixture.Form().Folder(), Fixture.Folder());
  QVERIFY(Fixture.Form().Folder() != QCoreApplication::applicationDirPath());
  // Fixed size, minimise and close but no maximise.
  QCOMPARE(Fixture.Form().size(), QSize(785, 691));
  QCOMPARE(Fixture.Form().minimumSize(), Fixture.Form().maximumSize());
  const Qt::WindowFlags Flags = Fixture.Form().windowFlags();
  QVERIFY(Flags & Qt::WindowMinimizeButtonHint);
  QVERIFY(Flags & Qt::WindowCloseButtonHint);
  QVERIFY(!(Flags & Qt::WindowMaximizeButtonHint));
}

void LifecycleTest::closeRequestWhileResultShowsReturnsToInputs() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  FillInputA(Form);
  Click(Form.Button1);
  QVERIFY(Form.Panel1->isVisible());
  const QStringList Used = EditTexts(Form);
  // The title bar's close button, as the window system delivers it.
  QVERIFY(!Form.windowHandle()->close());
  QVERIFY(Form.isVisible());
  QVERIFY(Form.Panel2->isVisible());
  QVERIFY(!Form.Panel1->isVisible());
  QCOMPARE(EditTexts(Form), Used);
  QCOMPARE(Form.ComboBox1->currentIndex(), 1);
  QVERIFY(Form.windowHandle()->close());
  QVERIFY(!Form.isVisible());
}

void LifecycleTest::sessionEndIsRefusedOnceWhileResultShows() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  FillInputA(Form);
  Click(Form.Button1);
  QVERIFY(Form.RefuseSessionEnd());
  QVERIFY(Form.Panel2->isVisible());
  QVERIFY(!Form.RefuseSessionEnd());
  QVERIFY(Form.isVisible());
}

void LifecycleTest::minimiseAndRestoreKeepInputs() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  TypeInto(Form.Edit8, QStringLiteral("800000"));
  Form.CheckBox4->setChecked(true);
  Form.showMinimized();
  QTest::qWait(50);
  Form.showNormal();
  QTest::qWait(50);
  QCOMPARE(Form.Edit8->text(), QStringLiteral("800000"));
  QVERIFY(Form.CheckBox4->isChecked());
}

void LifecycleTest::bannerClickOpensTheWebAddress() {
  // The desktop's handlers are replaced, so no browser starts.
  for (const char* Scheme : {"http", "https"})
    QDesktopServices::setUrlHandler(QString::fromLatin1(Scheme), this, "OpenUrl");
  WindowFixture Fixture;
  Click(Fixture.Form().WaterImage1, QPoint(100, 100));
  for (const char* Scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(Scheme));
  QCOMPARE(Opened, QList<QUrl>({QUrl(QString::fromUtf8(DECREE_WEB_ADDRESS))}));
  QVERIFY(Fixture.Recorder.Messages.isEmpty());
}

QTEST_MAIN(LifecycleTest)
#include "LifecycleTest.moc"
