<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<!-- Persian for the Qt texts of the print dialog, its properties and the file
     chooser that Debian's qtbase_fa.qm leaves in English. Loaded after it, so
     these win where both have a text. -->
<TS version="2.1" language="fa">
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Double Sided Printing</source>
        <translation>چاپ دورو</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>خاموش</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>صحافی از ضلع بلند</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>صحافی از ضلع کوتاه</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>صفحات</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>صفحه‌ها یا بازه‌ها را با ویرگول از هم جدا کنید. هر بازه دو عدد است که با خط تیره از هم جدا می‌شوند. برای نمونه 3,5-7,9 صفحه‌های ۳، ۵، ۶، ۷ و ۹ را چاپ می‌کند.</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Advanced</source>
        <translation>پیشرفته</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>برخی از گزینه‌ها با هم ناسازگارند. لطفاً آن‌ها را اصلاح کنید.</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>ناسازگاری گزینه‌های پیشرفته</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>برخی از گزینه‌های پیشرفته با هم ناسازگارند. آیا می‌خواهید آن‌ها را اصلاح کنید؟</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>ناسازگاری تنظیمات صفحه</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>برخی از تنظیمات صفحه با هم ناسازگارند. آیا می‌خواهید آن‌ها را اصلاح کنید؟</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>ناسازگاری گزینه‌های پیشرفته</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>برخی از گزینه‌های پیشرفته با هم ناسازگارند. آیا می‌خواهید آن‌ها را اصلاح کنید؟</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>ناسازگاری تنظیمات صفحه</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>برخی از تنظیمات صفحه با هم ناسازگارند. آیا می‌خواهید آن‌ها را اصلاح کنید؟</translation>
    </message>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>ناسازگاری تنظیمات چاپ دورو</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>تنظیمات چاپ دورو با هم ناسازگارند. آیا می‌خواهید آن‌ها را اصلاح کنید؟</translation>
    </message>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>تعریف نادرست صفحه‌ها</translation>
    </message>
    <message>
        <source>%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to define ranges and make sure ranges do not intersect with each other.</source>
        <translation>%1 درست نوشته نشده است. صفحه‌ها و بازه‌ها را با ',' از هم جدا کنید، هر بازه را با '-' بنویسید و بازه‌ها نباید روی هم بیفتند.</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>خاکستری</translation>
    </message>
</context>
<context>
    <name>QPageSetupWidget</name>
    <message>
        <source>Millimeters (mm)</source>
        <translation>میلی‌متر</translation>
    </message>
    <message>
        <source>Points (pt)</source>
        <translation>نقطه</translation>
    </message>
    <message>
        <source>Inches (in)</source>
        <translation>اینچ</translation>
    </message>
    <message>
        <source>Pica (P̸)</source>
        <translation>پیکا</translation>
    </message>
    <message>
        <source>Didot (DD)</source>
        <translation>دیدو</translation>
    </message>
    <message>
        <source>Cicero (CC)</source>
        <translation>سیسرو</translation>
    </message>
    <message>
        <source>mm</source>
        <translation> میلی‌متر</translation>
    </message>
    <message>
        <source>pt</source>
        <translation> نقطه</translation>
    </message>
    <message>
        <source>in</source>
        <translation> اینچ</translation>
    </message>
    <message>
        <source>P̸</source>
        <translation> پیکا</translation>
    </message>
    <message>
        <source>DD</source>
        <translation> دیدو</translation>
    </message>
    <message>
        <source>CC</source>
        <translation> سیسرو</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Drive</source>
        <translation>درایو</translation>
    </message>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>پوشه</translation>
    </message>
</context>
<context>
    <name>QPageSize</name>
    <message>
        <source>Note</source>
        <translation>یادداشت</translation>
    </message>
    <message>
        <source>Legal</source>
        <translation>لیگال</translation>
    </message>
    <message>
        <source>Legal Extra</source>
        <translation>لیگال بزرگ</translation>
    </message>
    <message>
        <source>Letter Extra</source>
        <translation>نامه بزرگ</translation>
    </message>
    <message>
        <source>Letter Small</source>
        <translation>نامه کوچک</translation>
    </message>
    <message>
        <source>Letter Plus</source>
        <translation>نامه افزوده</translation>
    </message>
    <message>
        <source>Tabloid Extra</source>
        <translation>نیم‌قطع بزرگ</translation>
    </message>
    <message>
        <source>A4 Plus</source>
        <translation>A4 افزوده</translation>
    </message>
    <message>
        <source>A4 Extra</source>
        <translation>A4 بزرگ</translation>
    </message>
    <message>
        <source>A4 Small</source>
        <translation>A4 کوچک</translation>
    </message>
    <message>
        <source>A3 Extra</source>
        <translation>A3 بزرگ</translation>
    </message>
    <message>
        <source>A5 Extra</source>
        <translation>A5 بزرگ</translation>
    </message>
    <message>
        <source>B5 Extra</source>
        <translation>B5 بزرگ</translation>
    </message>
    <message>
        <source>PRC 32K Big</source>
        <translation>PRC 32K بزرگ</translation>
    </message>
    <message>
        <source>Quarto</source>
        <translation>کوارتو</translation>
    </message>
    <message>
        <source>Postcard</source>
        <translation>کارت پستال</translation>
    </message>
    <message>
        <source>Double Postcard</source>
        <translation>کارت پستال دوتایی</translation>
    </message>
    <message>
        <source>Statement</source>
        <translation>صورت‌حساب</translation>
    </message>
    <message>
        <source>Super A</source>
        <translation>سوپر A</translation>
    </message>
    <message>
        <source>Super B</source>
        <translation>سوپر B</translation>
    </message>
    <message>
        <source>Fan-fold US (14.875 x 11 in)</source>
        <translation>کاغذ پیوسته آمریکایی (۱۴٫۸۷۵ × ۱۱ اینچ)</translation>
    </message>
    <message>
        <source>Fan-fold German (8.5 x 12 in)</source>
        <translation>کاغذ پیوسته آلمانی (۸٫۵ × ۱۲ اینچ)</translation>
    </message>
    <message>
        <source>Fan-fold German Legal (8.5 x 13 in)</source>
        <translation>کاغذ پیوسته آلمانی لیگال (۸٫۵ × ۱۳ اینچ)</translation>
    </message>
    <message>
        <source>Envelope Monarch</source>
        <translation>پاکت مونارک</translation>
    </message>
    <message>
        <source>Envelope Invite</source>
        <translation>پاکت دعوت‌نامه</translation>
    </message>
    <message>
        <source>Envelope Italian</source>
        <translation>پاکت ایتالیایی</translation>
    </message>
    <message>
        <source>Envelope Personal</source>
        <translation>پاکت شخصی</translation>
    </message>
    <message>
        <source>Envelope Chou 3</source>
        <translation>پاکت چو 3</translation>
    </message>
    <message>
        <source>Envelope Chou 4</source>
        <translation>پاکت چو 4</translation>
    </message>
    <message>
        <source>Envelope Kaku 2</source>
        <translation>پاکت کاکو 2</translation>
    </message>
    <message>
        <source>Envelope Kaku 3</source>
        <translation>پاکت کاکو 3</translation>
    </message>
    <message>
        <source>Envelope You 4</source>
        <translation>پاکت یو 4</translation>
    </message>
    <message>
        <source>Custom (%1pc x %2pc)</source>
        <translation>سفارشی (%1 پیکا × %2 پیکا)</translation>
    </message>
    <message>
        <source>Custom (%1pt x %2pt)</source>
        <translation>سفارشی (%1 نقطه × %2 نقطه)</translation>
    </message>
    <message>
        <source>Custom (%1DD x %2DD)</source>
        <translation>سفارشی (%1 دیدو × %2 دیدو)</translation>
    </message>
    <message>
        <source>Custom (%1CC x %2CC)</source>
        <translation>سفارشی (%1 سیسرو × %2 سیسرو)</translation>
    </message>
    <message>
        <source>Architect A</source>
        <translation>معماری A</translation>
    </message>
    <message>
        <source>Architect B</source>
        <translation>معماری B</translation>
    </message>
    <message>
        <source>Architect C</source>
        <translation>معماری C</translation>
    </message>
    <message>
        <source>Architect D</source>
        <translation>معماری D</translation>
    </message>
    <message>
        <source>Architect E</source>
        <translation>معماری E</translation>
    </message>
    <message>
        <source>Envelope US 9</source>
        <translation>پاکت آمریکایی 9</translation>
    </message>
    <message>
        <source>Envelope US 10</source>
        <translation>پاکت آمریکایی 10</translation>
    </message>
    <message>
        <source>Envelope US 11</source>
        <translation>پاکت آمریکایی 11</translation>
    </message>
    <message>
        <source>Envelope US 12</source>
        <translation>پاکت آمریکایی 12</translation>
    </message>
    <message>
        <source>Envelope US 14</source>
        <translation>پاکت آمریکایی 14</translation>
    </message>
    <message>
        <source>Envelope PRC 1</source>
        <translation>پاکت PRC 1</translation>
    </message>
    <message>
        <source>Envelope PRC 2</source>
        <translation>پاکت PRC 2</translation>
    </message>
    <message>
        <source>Envelope PRC 3</source>
        <translation>پاکت PRC 3</translation>
    </message>
    <message>
        <source>Envelope PRC 4</source>
        <translation>پاکت PRC 4</translation>
    </message>
    <message>
        <source>Envelope PRC 5</source>
        <translation>پاکت PRC 5</translation>
    </message>
    <message>
        <source>Envelope PRC 6</source>
        <translation>پاکت PRC 6</translation>
    </message>
    <message>
        <source>Envelope PRC 7</source>
        <translation>پاکت PRC 7</translation>
    </message>
    <message>
        <source>Envelope PRC 8</source>
        <translation>پاکت PRC 8</translation>
    </message>
    <message>
        <source>Envelope PRC 9</source>
        <translation>پاکت PRC 9</translation>
    </message>
    <message>
        <source>Envelope PRC 10</source>
        <translation>پاکت PRC 10</translation>
    </message>
    <message>
        <source>Envelope C0</source>
        <translation>پاکت C0</translation>
    </message>
    <message>
        <source>Envelope C1</source>
        <translation>پاکت C1</translation>
    </message>
    <message>
        <source>Envelope C2</source>
        <translation>پاکت C2</translation>
    </message>
    <message>
        <source>Envelope C3</source>
        <translation>پاکت C3</translation>
    </message>
    <message>
        <source>Envelope C4</source>
        <translation>پاکت C4</translation>
    </message>
    <message>
        <source>Envelope C5</source>
        <translation>پاکت C5</translation>
    </message>
    <message>
        <source>Envelope C6</source>
        <translation>پاکت C6</translation>
    </message>
    <message>
        <source>Envelope C7</source>
        <translation>پاکت C7</translation>
    </message>
    <message>
        <source>Envelope C65</source>
        <translation>پاکت C65</translation>
    </message>
    <message>
        <source>Envelope DL</source>
        <translation>پاکت DL</translation>
    </message>
    <message>
        <source>Envelope B4</source>
        <translation>پاکت B4</translation>
    </message>
    <message>
        <source>Envelope B5</source>
        <translation>پاکت B5</translation>
    </message>
    <message>
        <source>Envelope B6</source>
        <translation>پاکت B6</translation>
    </message>
</context>
</TS>
