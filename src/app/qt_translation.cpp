#include "app/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator *装入Qt中文翻译() {
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString folders[] = {QCoreApplication::applicationDirPath(),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString &folder : folders)
        if (translator->load(QStringLiteral("qtbase_zh_CN"), folder) &&
            QCoreApplication::installTranslator(translator))
            return translator;
    delete translator;
    return nullptr;
}
