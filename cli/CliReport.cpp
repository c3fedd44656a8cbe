#include "CliReport.h"

#include "ConfigFile.h"
#include "Console.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

QJsonObject reportObject(const ModemReport& report) {
    QJsonArray steps;
    for (const StepResult& step : report.steps)
        steps.append(QJsonObject{{QStringLiteral("command"), step.command},
                                 {QStringLiteral("confirmed"), step.confirmed}});
    QJsonObject object{
        {QStringLiteral("command"), report.verb},
        {QStringLiteral("port"), report.port},
        {QStringLiteral("device"), report.device},
        {QStringLiteral("result"), report.result},
        {QStringLiteral("exitCode"), report.exitCode},
        {QStringLiteral("backup"), report.backup.isEmpty() ? QJsonValue() : report.backup},
        {QStringLiteral("steps"), steps},
        {QStringLiteral("differences"), QJsonArray::fromStringList(report.differences)},
        {QStringLiteral("errors"), QJsonArray::fromStringList(report.errors)},
    };
    if (report.configuration)
        object.insert(
            QStringLiteral("configuration"),
            QJsonDocument::fromJson(configurationFileText(*report.configuration)).object());
    if (!report.saved.isEmpty())
        object.insert(QStringLiteral("saved"), report.saved);
    return object;
}

void printReport(const ModemReport& report, Console& console, bool json) {
    if (json) {
        console.json(reportObject(report));
        return;
    }
    // A read onto standard output is the file itself.
    if (report.configuration && report.saved.isEmpty() && report.exitCode == 0) {
        if (!console.bytes(configurationFileText(*report.configuration)))
            console.error(QCoreApplication::translate("TavekCli",
                                                      "tavek-cli: the configuration could not be "
                                                      "written onto standard output."));
        return;
    }
    for (const QString& difference : report.differences)
        console.line(difference);
    if (report.exitCode == 0)
        console.line(report.said);
    else if (!report.said.isEmpty())
        console.error(QStringLiteral("tavek-cli: ") + report.said);
}

QString fleetLine(const ModemReport& report) {
    QString line = QStringLiteral("%1 (%2): %3").arg(report.port, report.device, report.result);
    if (!report.differences.isEmpty())
        line += QStringLiteral(": ") + report.differences.join(QStringLiteral(" "));
    else if (report.exitCode != 0 && !report.errors.isEmpty())
        line += QStringLiteral(": ") + report.errors.join(QStringLiteral(" ")).simplified();
    return line;
}
