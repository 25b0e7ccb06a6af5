#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What the end-to-end tests of salary-decree-batch share: the program, a
fresh folder per test, the worked decrees A and B as rows, their figures and
report lines worked by hand."""
import csv
import io
import os
import shutil
import subprocess
import tempfile
import unittest

PROGRAM = os.environ.get("SALARY_DECREE_BATCH", "salary-decree-batch")

# The 30 values of a decree, in the CSV's column order.
RESULT_FIELDS = [
    "BaseSalary", "SeniorityIncrease", "JobAllowance", "MinimumPayDifference", "SalaryRepair",
    "AttractionAllowance", "SpecialAllowance", "ParticularAllowance", "Note12Adjustment",
    "LivingFacilitiesDeprivation", "FamilyAllowance", "ChildAllowance", "VeteranAllowance",
    "ClauseBItem3Allowance", "BasicSalary", "BadClimateAllowance", "ShiftWorkAllowance",
    "HardshipAllowance", "OperationalZoneAllowance", "DeprivedRegionAllowance", "RadiationWorkAllowance",
    "Article26Allowance", "BorderDeprivationAllowance", "AdjustmentAllowance", "IncentiveGroupsDifference",
    "HousingBase", "ItemsTotal", "SeniorityMinimumDifference", "HousingAllowance", "GrandTotal",
]

# The inputs of the worked decrees, by field name; every other input is empty.
ROW_A = {
    "Coefficient": "1000", "DeclaredMinimumSalary": "2000000", "EffectiveMinimumSalary": "1600000",
    "FamilyAllowanceRate": "300000", "ChildAllowanceRate": "100000", "EmployeeGroup": "9",
    "IncentiveGroupCount": "2", "PreviousBaseSalary": "800000", "PreviousSeniorityIncrease": "100000",
    "SeniorityIncreasePercent": "4", "HeadOfHousehold": "1", "ChildCount": "2", "JobPercent": "20",
    "AttractionPercent": "50", "SpecialPercent": "10", "ShiftWorkPercent": "20", "AdjustmentEligible": "1",
    "MinimumSalaryAndBenefits": "6000000", "InsuranceType": "1",
}
ROW_B = dict(ROW_A, **{
    "MinimumSalaryAndBenefits": "16000000", "Note12Difference": "50000", "DeprivationPercent": "10",
    "BadClimatePercent": "5", "OperationalZonePercent": "20", "OperationalZoneWideBase": "1",
    "VeteranEligible": "1", "Article26Eligible": "1", "ClauseBItem3Amount": "200000",
    "ClauseBItem3InHousing": "1", "InsuranceType": "0",
})

_COMMON = {
    "BaseSalary": 880000, "SeniorityIncrease": 136000, "BasicSalary": 1016000, "JobAllowance": 176000,
    "MinimumPayDifference": 984000, "SalaryRepair": 3000000, "ParticularAllowance": 0, "FamilyAllowance": 300000,
    "ChildAllowance": 200000, "ShiftWorkAllowance": 140000, "HardshipAllowance": 0, "DeprivedRegionAllowance": 0,
    "RadiationWorkAllowance": 0, "BorderDeprivationAllowance": 0, "AdjustmentAllowance": 408600,
    "IncentiveGroupsDifference": 277200,
}
VALUES_A = dict(_COMMON, **{
    "AttractionAllowance": 2588000, "SpecialAllowance": 776400, "Note12Adjustment": 0,
    "LivingFacilitiesDeprivation": 0, "VeteranAllowance": 0, "ClauseBItem3Allowance": 0, "BadClimateAllowance": 0,
    "OperationalZoneAllowance": 0, "Article26Allowance": 0, "ItemsTotal": 9866200,
    "SeniorityMinimumDifference": 0, "HousingBase": 9366200, "HousingAllowance": 1873240, "GrandTotal": 11739440,
})
VALUES_B = dict(_COMMON, **{
    "AttractionAllowance": 2613000, "SpecialAllowance": 783900, "Note12Adjustment": 50000,
    "LivingFacilitiesDeprivation": 88000, "VeteranAllowance": 400000, "ClauseBItem3Allowance": 200000,
    "BadClimateAllowance": 44000, "OperationalZoneAllowance": 957800, "Article26Allowance": 176000,
    "ItemsTotal": 11814500, "SeniorityMinimumDifference": 4185500, "HousingBase": 15500000,
    "HousingAllowance": 3100000, "GrandTotal": 14914500,
})

REPORT_A = [
    '     ',
    '     حقوق مبنا: 880,000     افزایش سنواتی: 136,000     حقوق پایه: 1,016,000',
    '     ------------------------------------',
    '     فوق العاده شغل: 176,000',
    '     فوق العاده جذب: 2,588,000',
    '     تفاوت حداقل دریافتی: 984,000',
    '     فوق العاده ویژه: 776,400',
    '     تفاوت ناشی از گروه های تشویقی: 277,200',
    '     ترمیم حقوق: 3,000,000',
    '     حق عائله مندی: 300,000',
    '     حق اولاد: 200,000',
    '     فوق العاده نوبت کاری: 140,000',
    '     فوق العاده تعدیل: 408,600',
    '     ------------------------------------',
    '     جمع حکم (بدون حق مسکن): 9,866,200',
    '     ',
    '     حق مسکن: 1,873,240',
    '     جمع کل حکم (با حق مسکن): 11,739,440',
]

REPORT_B = [
    '     ',
    '     حقوق مبنا: 880,000     افزایش سنواتی: 136,000     حقوق پایه: 1,016,000',
    '     ------------------------------------',
    '     فوق العاده شغل: 176,000',
    '     فوق العاده جذب: 2,613,000',
    '     تفاوت حداقل دریافتی: 984,000',
    '     فوق العاده ویژه: 783,900',
    '     تفاوت ناشی از گروه های تشویقی: 277,200',
    '     ترمیم حقوق: 3,000,000',
    '     محرومیت از تسهیلات زندگی: 88,000',
    '     حق عائله مندی: 300,000',
    '     حق اولاد: 200,000',
    '     تفاوت تطبیق موضوع جز 1+بند ی تبصره 12: 50,000',
    '     فوق العاده خاص جز 3 بند ب: 200,000',
    '     فوق العاده ایثارگری: 400,000',
    '     فوق العاده بدی آب و هوا: 44,000',
    '     فوق العاده نوبت کاری: 140,000',
    '     فوق العاده مناطق عملیاتی: 957,800',
    '     فوق العاده تعدیل: 408,600',
    '     ماده 26: 176,000',
    '     ------------------------------------',
    '     مجموع آیتم های حکم (بدون حق مسکن): 11,814,500',
    '     مابه التفاوت سنواتی حداقل حکم: 4,185,500',
    '     جمع کل حکم (بدون حق مسکن): 16,000,000',
    '     ',
    '     حق مسکن: 3,100,000',
    '     جمع کل حکم (با حق مسکن): 19,100,000',
]

# The inputs by field name, control name and label caption (without its colon).
CONTROL_NAMES = {
    "Coefficient": "Edit1", "DeclaredMinimumSalary": "Edit2", "EffectiveMinimumSalary": "Edit3",
    "FamilyAllowanceRate": "Edit4", "ChildAllowanceRate": "Edit5", "EmployeeGroup": "Edit6",
    "IncentiveGroupCount": "Edit7", "PreviousBaseSalary": "Edit8", "PreviousSeniorityIncrease": "Edit9",
    "SeniorityIncreasePercent": "Edit10", "ChildCount": "Edit11", "Note12Difference": "Edit12",
    "JobPercent": "Edit13", "AttractionPercent": "Edit14", "SpecialPercent": "Edit15",
    "ParticularPercent": "Edit16", "DeprivationPercent": "Edit17", "ClauseBItem3Amount": "Edit18",
    "BadClimatePercent": "Edit19", "ShiftWorkPercent": "Edit20", "HardshipPercent": "Edit21",
    "OperationalZonePercent": "Edit22", "DeprivedRegionPercent": "Edit23", "RadiationPercent": "Edit24",
    "ClauseBItem3Points": "Edit25", "MinimumSalaryAndBenefits": "Edit26", "InsuranceType": "ComboBox1",
    "HeadOfHousehold": "CheckBox1", "VeteranEligible": "CheckBox2", "AdjustmentEligible": "CheckBox3",
    "Article26Eligible": "CheckBox4", "OperationalZoneWideBase": "CheckBox5", "ClauseBItem3InHousing": "CheckBox6",
    "BorderDeprivationEligible": "CheckBox8",
}
CAPTIONS = {
    'Coefficient': 'ضریب',
    'DeclaredMinimumSalary': 'حداقل حقوق اعلامی',
    'EffectiveMinimumSalary': 'حداقل حقوق موثر',
    'FamilyAllowanceRate': 'حق عائله مندی',
    'ChildAllowanceRate': 'حق اولاد',
    'EmployeeGroup': 'گروه مستخدم',
    'IncentiveGroupCount': 'تعداد گروه های تشویقی',
    'PreviousBaseSalary': 'حقوق مبنای سال قبل',
    'PreviousSeniorityIncrease': 'افزایش سنواتی سال قبل',
    'SeniorityIncreasePercent': 'درصد افزایش سنواتی',
    'ChildCount': 'تعداد اولاد',
    'Note12Difference': 'تفاوت تطبیق موضوع جز 1+بند ی تبصره 12',
    'JobPercent': 'درصد فوق العاده شغل',
    'AttractionPercent': 'درصد فوق العاده جذب',
    'SpecialPercent': 'درصد فوق العاده ویژه',
    'ParticularPercent': 'درصد فوق العاده خاص',
    'DeprivationPercent': 'درصد محرومیت از تسهیلات زتدگی',
    'ClauseBItem3Amount': 'فوق العاده خاص جز 3 بند ب',
    'BadClimatePercent': 'درصد فوق العاده بدی آب و هوا',
    'ShiftWorkPercent': 'درصد فوق العاده نوبت کاری',
    'HardshipPercent': 'درصد فوق العاده سختی کار',
    'OperationalZonePercent': 'درصد فوق العاده مناطق عملیاتی',
    'DeprivedRegionPercent': 'درصد فوق العاده منطقه محروم',
    'RadiationPercent': 'درصد فوق العاده كار با اشعه',
    'ClauseBItem3Points': 'امتیاز فوق العاده خاص جز 3 بند ب',
    'MinimumSalaryAndBenefits': 'حداقل حقوق و مزایا',
    'InsuranceType': 'نوع بیمه',
    'HeadOfHousehold': 'وضعیت عائله مندی',
    'VeteranEligible': 'فوق العاده ایثارگری',
    'AdjustmentEligible': 'فوق العاده تعدیل (408600 ریال)',
    'Article26Eligible': 'ماده 26',
    'OperationalZoneWideBase': 'CheckBox5',
    'ClauseBItem3InHousing': 'مبلغ فوق العاده خاص جز 3 بند ب در محاسبه حق مسکن لحاظ شود',
    'BorderDeprivationEligible': 'محرومیت از تسهیلات زندگی 2 : (مخصوص مناطق مرزی)',
}

# The two items of the insurance list.
INSURANCE_ITEMS = ['تامین اجتماعی', 'سازمان بازنشستگی']

ID_HEADERS = ["شماره پرسنلی", "نام"]

# The employees that every input format must give the same decrees for: CSV, workbooks and
# Windows-1256 CSV, which has neither the Persian yeh nor Persian digits (the captions' yeh
# becomes the Arabic one there). tests/batch/workbooks/make-workbooks.py saved them from
# LibreOffice; run it again after changing them.
FORMAT_IDS = ["کد", "نام"]
FORMAT_ROWS = [
    dict(ROW_A, **{"کد": "1001", "نام": "رضا"}),
    dict(ROW_B, **{"کد": "1002", "نام": "زهرا"}),
    dict(ROW_A, **{"کد": "1003", "نام": "مهسا", "EmployeeGroup": "25"}),
    dict(ROW_A, **{"کد": "1004", "نام": "آرش", "Coefficient": "1000.3", "JobPercent": "20.5"}),
]

# The note on standard error that lists the identification columns at start.
ID_NOTE = "ستون های شناسه، که بی محاسبه به خروجی ها می روند: "


def sheet(rows, naming="field", ids=None, fields=None):
    """Rows (dicts by field name, plus identification headers) as a header
    and cell lists, the inputs named by field name, control name or caption."""
    ids = ID_HEADERS if ids is None else ids
    fields = list(CONTROL_NAMES) if fields is None else fields
    name = {"field": lambda f: f, "control": CONTROL_NAMES.get, "caption": CAPTIONS.get}[naming]
    header = list(ids) + [name(f) for f in fields]
    cells = [[row.get(h, "") for h in ids] + [row.get(f, "") for f in fields] for row in rows]
    return header, cells


def csv_text(header, cells, delimiter=","):
    out = io.StringIO()
    writer = csv.writer(out, delimiter=delimiter, lineterminator="\r\n")
    writer.writerow(header)
    writer.writerows(cells)
    return out.getvalue()


def read_csv(text):
    """The CSV the program wrote, as dicts by header."""
    return list(csv.DictReader(io.StringIO(text)))


class BatchTestCase(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="batch-test-")
        self.addCleanup(shutil.rmtree, self.folder, True)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        if isinstance(data, str):
            data = data.encode("utf-8")
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def run_batch(self, *arguments, env=None, timeout=60):
        """Runs the program in the test's folder: (exit status, stdout, stderr) as text. The note
        listing the identification columns is taken out of stderr into self.id_notes."""
        done = subprocess.run([PROGRAM, *arguments], cwd=self.folder, capture_output=True, timeout=timeout,
                              env=dict(os.environ, **(env or {})))
        lines = done.stderr.decode("utf-8").splitlines(True)
        self.id_notes = [line for line in lines if ID_NOTE in line]
        return done.returncode, done.stdout.decode("utf-8"), "".join(l for l in lines if ID_NOTE not in l)

    def files(self):
        """Every file below the test's folder, hidden ones included."""
        found = []
        for root, _, names in os.walk(self.folder):
            found += [os.path.relpath(os.path.join(root, n), self.folder) for n in names]
        return sorted(found)
