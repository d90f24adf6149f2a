#pragma once

class QTranslator;

// Qt's own dialogs and buttons (the file dialog of 保存为PDF文件, a text box's context menu)
// speak Chinese whatever the system locale, since the program's interface is Chinese. Qt's
// Chinese translations ("qtbase_zh_CN.qm") are looked for beside the program (where the Windows
// setup program puts them), then in Qt's translations folder (Debian's qt6-translations-l10n).
// Returns the translator installed in the application, or null when neither place has them:
// Qt's texts then stay English and the program runs on.
QTranslator *装入Qt中文翻译();
