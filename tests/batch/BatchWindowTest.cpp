// SPDX-License-Identifier: GPL-3.0-or-later
// The batch against the real window: each row typed (or, where the keys
// would refuse it, pasted) into TForm1 and computed there, and the same row
// run through the batch's pipeline. The report lines must be the window's
// text byte for byte, and a refused row must carry the window's message.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "batch/Pipeline.h"
#include "tests/app/TestSupport.h"
#include "tests/batch/BatchRows.h"

Q_DECLARE_METATYPE(BatchTest::Cells)

namespace {

using namespace BatchTest;

bool AllDigits(const std::string& Text) {
  if (Text.empty()) return false;
  for (char c : Text)
    if (c < '0' || c > '9') return false;
  return true;
}

// What a clerk does to put Row into the window.
void EnterRow(TForm1& Form, const Cells& Row) {
  for (const InputSpec& field : Inputs) {
    const auto found = Row.find(field.FieldName);
    if (found == Row.end() || found->second.empty()) continue;
    const std::string& text = found->second;
    const QString name = QString::fromLatin1(field.ControlName);
    if (field.Kind != InputKind::Flag && field.Kind != InputKind::Insurance) {
      QLineEdit* edit = Form.findChild<QLineEdit*>(name);
      if (AllDigits(text))
        TypeInto(edit, QString::fromStdString(text));  // key releases refill Edit18 as typing does
      else
        edit->setText(QString::fromStdString(text));  // pasted: the keys take digits only
    } else if (field.Kind == InputKind::Insurance) {
      Form.ComboBox1->setFocus(Qt::MouseFocusReason);
      Press(Qt::Key_Down);
      if (text == "1") {  // choosing moves the focus on; come back for the second item
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        Press(Qt::Key_Down);
      }
    } else if (text == "1") {
      QCheckBox* box = Form.findChild<QCheckBox*>(name);
      box->setFocus(Qt::MouseFocusReason);
      Press(Qt::Key_Space);
    }
  }
}

Cells With(Cells Row, const Cells& Changes) {
  for (const auto& [field, text] : Changes) Row[field] = text;
  return Row;
}

}  // namespace

class BatchWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }
  void sameReportOrMessageAsTheWindow_data();
  void sameReportOrMessageAsTheWindow();
};

void BatchWindowTest::sameReportOrMessageAsTheWindow_data() {
  QTest::addColumn<Cells>("Row");
  const Cells a = WorkedRowA();
  QTest::newRow("decree A") << a;
  QTest::newRow("decree B") << WorkedRowB();
  // The percentage boxes hold three characters, pasted text too.
  QTest::newRow("fractions everywhere") << With(a, {{"Coefficient", "1234.5"},
                                                    {"JobPercent", "2.5"},
                                                    {"AttractionPercent", "7.5"},
                                                    {"SpecialPercent", "1.5"},
                                                    {"PreviousBaseSalary", "812345.5"},
                                                    {"ShiftWorkPercent", "31"},
                                                    {"ParticularPercent", "3.7"},
                                                    {"RadiationPercent", "2.5"},
                                                    {"Note12Difference", "0.5"}});
  QTest::newRow("clause-B amount from the points")
      << With(a, {{"ClauseBItem3Points", "150"}, {"ClauseBItem3InHousing", "1"}});
  QTest::newRow("negative items and a top-up") << With(
      a,
      {{"PreviousSeniorityIncrease", "-900000"}, {"Note12Difference", "-5"}, {"MinimumSalaryAndBenefits", "16000000"}});
  QTest::newRow("amounts in general form") << With(a, {{"Coefficient", "1e15"}});
  QTest::newRow("signs and leading zeros") << With(a, {{"EmployeeGroup", "+9"}, {"IncentiveGroupCount", "02"}});
  QTest::newRow("every flag") << With(WorkedRowB(), {{"Article26Eligible", "1"},
                                                     {"BorderDeprivationEligible", "1"},
                                                     {"HardshipPercent", "15"},
                                                     {"DeprivedRegionPercent", "10"}});
  QTest::newRow("pasted text") << With(a, {{"JobPercent", "12a"}});
  QTest::newRow("a required field missing") << With(a, {{"DeclaredMinimumSalary", ""}});
  QTest::newRow("no insurance") << With(a, {{"InsuranceType", ""}});
  QTest::newRow("group 25") << With(a, {{"EmployeeGroup", "25"}});
  QTest::newRow("incentive groups too many") << With(a, {{"IncentiveGroupCount", "9"}});
  QTest::newRow("overflow") << With(a, {{"Coefficient", "1e306"}});
}

void BatchWindowTest::sameReportOrMessageAsTheWindow() {
  QFETCH(Cells, Row);
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  EnterRow(Form, Row);
  Click(Form.Button1);

  // The batch with the window's own regional settings.
  const QLocale System = QLocale::system();
  PipelineOptions options;
  options.Format = NumberFormatFromSettings(System.decimalPoint().toStdString(), System.groupSeparator().toStdString());
  options.Report = true;
  const Sheet sheet(FieldNameHeaders());
  RowRecord batch;
  ProcessRow(sheet.Layout, sheet.Record(Row), options, batch);

  if (Fixture.Recorder.Messages.isEmpty()) {
    QVERIFY2(batch.Computed, batch.Error.Message.c_str());
    QString lines;
    for (const std::string& line : batch.Report) lines += QString::fromStdString(line) + QLatin1Char('\n');
    QCOMPARE(Form.RichEdit1->toPlainText().toUtf8(), lines.toUtf8());
  } else {
    QCOMPARE(Fixture.Recorder.Messages.size(), 1);
    QVERIFY(!batch.Computed);
    QCOMPARE(QString::fromStdString(batch.Error.Message), Fixture.Recorder.Messages[0].Text);
  }
}

QTEST_MAIN(BatchWindowTest)
#include "BatchWindowTest.moc"
