#include "output/saved_file.h"

#include "common/message_box.h"
#include "common/varnel_error.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace {

文件名询问 &询问() {
    static 文件名询问 ask;
    return ask;
}

保存文件来源 &来源() {
    static 保存文件来源 source;
    return source;
}

// The save dialog appends the suffix to a name typed without it before it checks whether the
// file exists, so that its question about replacing a file is asked of the file really written.
QString 对话框询问(QWidget *parent, const 文件种类 &kind, const QString &建议) {
    QFileDialog dialog(parent, kind.标题, 建议, kind.过滤);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(kind.后缀);
    dialog.selectFile(建议);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString 写入失败(const 文件种类 &kind, const QString &文件名, const QString &原因) {
    return QStringLiteral("不能保存%1“%2”：%3")
        .arg(kind.名称, QDir::toNativeSeparators(文件名), 原因);
}

// On a Linux desktop the file is handed to xdg-open, which reports no failure back: ask first
// whether the desktop has a program for the file's type at all. When that cannot be asked,
// opening is tried all the same.
bool 有程序打开(const QString &path) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0)
        return true;
    return !query.readAllStandardOutput().trimmed().isEmpty();
#else
    Q_UNUSED(path);
    return true;
#endif
}

} // namespace

void 设文件名询问(文件名询问 ask) {
    询问() = std::move(ask);
}

void 设保存文件来源(保存文件来源 source) {
    来源() = std::move(source);
}

QString 文档文件夹() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString 建议文件名(const QString &名, const QString &后缀) {
    QString name = 名 + u'.' + 后缀;
    for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
        name.replace(c, QLatin1Char('-'));
    return QDir(文档文件夹()).filePath(name);
}

QString 询问文件名(QWidget *parent, const 文件种类 &kind, const QString &建议) {
    QString name = 询问() ? 询问()(parent, 建议) : 对话框询问(parent, kind, 建议);
    if (name.isEmpty())
        return {};
    // A name given with another suffix gets the kind's here, after the dialog's check: a file of
    // that final name is not replaced unasked.
    if (QFileInfo(name).suffix().compare(kind.后缀, Qt::CaseInsensitive) != 0) {
        name += u'.' + kind.后缀;
        if (QFileInfo::exists(name) &&
            !消息框::是否(QStringLiteral("文件“%1”已经存在，要替换它吗？")
                              .arg(QDir::toNativeSeparators(name)),
                          kind.标题, 消息框::默认钮::否))
            return {};
    }
    return name;
}

void 保存文件(const 文件种类 &kind, const QString &文件名, const QByteArray &content) {
    std::unique_ptr<QSaveFile> file = 来源() ? 来源()(文件名) : std::make_unique<QSaveFile>(文件名);
    if (!file->open(QIODevice::WriteOnly))
        throw VarnelError(写入失败(kind, 文件名, QStringLiteral("这个文件夹不能写入。")));
    if (file->write(content) != content.size() || !file->commit()) {
        file->cancelWriting();
        throw VarnelError(写入失败(kind, 文件名, QStringLiteral("文件没有写完，磁盘可能已满。")));
    }
}

文件打开函数 &文件打开器() {
    static 文件打开函数 open = [](const QString &path) {
        return 有程序打开(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    return open;
}

void 打开输出文件(const QString &path, const QString &程序) {
    if (!文件打开器()(path))
        throw VarnelError(QStringLiteral("已输出到 %1，但不能打开它。请用%2打开这个文件；"
                                         "如果这台电脑上还没有%2，请先安装一个。")
                              .arg(QDir::toNativeSeparators(path), 程序));
}
