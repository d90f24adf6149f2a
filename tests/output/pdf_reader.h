#pragma once

#include "host_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <memory>

// A printed PDF file read back with poppler's own tools, independent of the program.
struct PdfWord {
    int page;                      // from 1
    double xMin, yMin, xMax, yMax; // points from the page's top left
    QString text;
};

struct PdfFile {
    int pages = -1;
    QList<PdfWord> words;

    QList<PdfWord> onPage(int page) const {
        QList<PdfWord> found;
        for (const PdfWord &w : words)
            if (w.page == page)
                found.append(w);
        return found;
    }
    // All words of a page in reading order, joined without separators.
    QString text(int page) const {
        QString joined;
        for (const PdfWord &w : onPage(page))
            joined += w.text;
        return joined;
    }
    const PdfWord *find(int page, const QString &text) const {
        for (const PdfWord &w : words)
            if (w.page == page && w.text == text)
                return &w;
        return nullptr;
    }
};

inline QString runTool(const QString &program, const QStringList &args) {
    return QString::fromUtf8(runOnHost(program, args).out);
}

inline PdfFile readPdf(const QString &path) {
    PdfFile pdf;
    if (!QFile::exists(path))
        return pdf;
    const QRegularExpression pagesLine(QStringLiteral("^Pages:\\s+(\\d+)"),
                                       QRegularExpression::MultilineOption);
    const auto m = pagesLine.match(runTool(QStringLiteral("pdfinfo"), {path}));
    if (m.hasMatch())
        pdf.pages = m.captured(1).toInt();
    QXmlStreamReader xml(
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}));
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            PdfWord w{page,
                      a.value(QLatin1String("xMin")).toDouble(),
                      a.value(QLatin1String("yMin")).toDouble(),
                      a.value(QLatin1String("xMax")).toDouble(),
                      a.value(QLatin1String("yMax")).toDouble(),
                      {}};
            w.text = xml.readElementText();
            pdf.words.append(w);
        }
    }
    return pdf;
}

// One page of a PDF file as poppler renders it at a number of pixels a point, or the part of it
// from pixel (origin) of the given size; a null image when it cannot be rendered.
struct RenderedPage {
    QImage image;
    double scale = 4; // pixels a point
    QPoint origin;    // the page's pixel at the image's top left
};
inline RenderedPage renderPdfPage(const QString &path, int page, double scale = 4,
                                  const QRect &part = QRect()) {
    const QString prefix = QDir::temp().filePath(
        QStringLiteral("varnel-page-%1").arg(QCoreApplication::applicationPid()));
    QStringList args{QStringLiteral("-png"), QStringLiteral("-singlefile"),
                     QStringLiteral("-r"),   QString::number(72 * scale),
                     QStringLiteral("-f"),   QString::number(page),
                     QStringLiteral("-l"),   QString::number(page)};
    if (!part.isNull())
        args << QStringLiteral("-x") << QString::number(part.x()) << QStringLiteral("-y")
             << QString::number(part.y()) << QStringLiteral("-W") << QString::number(part.width())
             << QStringLiteral("-H") << QString::number(part.height());
    runOnHost(QStringLiteral("pdftoppm"), args << path << prefix);
    RenderedPage rendered{QImage(prefix + QStringLiteral(".png")), scale, part.topLeft()};
    QFile::remove(prefix + QStringLiteral(".png"));
    return rendered;
}

// Margins of the test printer: the page's twips start here on paper. Whole points, as the
// PDF printer keeps its margins (a margin in millimetres would be moved to a whole point).
constexpr double 测试边距点 = 28;
inline double 边距点() {
    return 测试边距点;
}

inline std::unique_ptr<QPrinter> pdfPrinter(const QString &path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(测试边距点, 测试边距点, 测试边距点, 测试边距点),
                            QPageLayout::Point);
    return printer;
}
