// An OpenDocument Text file read back for a test: its parts as unzip gives them, the text of its
// paragraphs as a word processor lays them out, and the conversion of the file by LibreOffice.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testsupport {

// One member of the file's zip archive ("content.xml", "mimetype"); empty when unzip cannot read
// it.
inline QByteArray odtPart(const std::filesystem::path& odt, const QString& member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), QString::fromStdString(odt.string()), member});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        return QByteArray();
    return unzip.readAllStandardOutput();
}

// The paragraphs of content.xml, one a line, with the spaces, tabs and breaks the markup spells
// out; an unreadable file gives the empty list.
inline QStringList odtParagraphs(const std::filesystem::path& odt)
{
    QStringList paragraphs;
    QXmlStreamReader xml(odtPart(odt, QStringLiteral("content.xml")));
    QString current;
    int depth = 0;  // inside a text:p or text:h
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.name();
        if (xml.isStartElement()) {
            if (name == u"p" || name == u"h") {
                ++depth;
            } else if (depth > 0 && name == u"s") {
                const int count = xml.attributes().value(QStringLiteral("text:c")).toInt();
                current += QString(count > 0 ? count : 1, QLatin1Char(' '));
            } else if (depth > 0 && name == u"tab") {
                current += QLatin1Char('\t');
            } else if (depth > 0 && name == u"line-break") {
                current += QLatin1Char('\n');
            }
        } else if (xml.isEndElement() && (name == u"p" || name == u"h")) {
            if (--depth == 0) {
                paragraphs << current;
                current.clear();
            }
        } else if (xml.isCharacters() && depth > 0) {
            current += xml.text();
        }
    }
    if (xml.hasError())
        return QStringList();
    return paragraphs;
}

// LibreOffice's plain-text conversion of a document (UTF-8), made in a scratch profile inside
// work; empty when soffice is missing or fails.
inline std::string libreOfficeText(const std::filesystem::path& document, const std::filesystem::path& work)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return std::string();
    QProcess process;
    process.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + QString::fromStdString((work / "profile").string()),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                            QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                            QString::fromStdString(work.string()), QString::fromStdString(document.string())});
    if (!process.waitForFinished(180'000) || process.exitCode() != 0)
        return std::string();
    std::ifstream in(work / (document.stem().string() + ".txt"), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace testsupport
