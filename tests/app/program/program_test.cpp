// Runs the built program as a player would start it, driven by a plugin that
// leaves by File > Exit, and checks what it did and how it ended.

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

namespace {

struct Outcome {
    int exitCode = -1;
    QString output;
};

Outcome RunProgram(const QStringList& arguments, const QString& locale = QStringLiteral("C")) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(TANDREL_DRIVER_PLUGINS));
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"),
                       QStringLiteral("tandrelprogramdriver"));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TANDREL_PROGRAM), arguments);
    Outcome run;
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        ADD_FAILURE() << "the program did not end: " << program.readAllStandardError().constData();
        return run;
    }
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    run.exitCode = program.exitCode();
    run.output = QString::fromLocal8Bit(program.readAllStandardOutput());
    if (run.exitCode != 0) {
        ADD_FAILURE() << program.readAllStandardError().constData();
    }
    return run;
}

TEST(Program, FileExitEndsItWithCodeZeroAndTheDecimalSeparatorIsTheLocales) {
    const Outcome german = RunProgram({}, QStringLiteral("de_DE.UTF-8"));
    EXPECT_EQ(german.exitCode, 0);
    EXPECT_TRUE(german.output.contains("amount: 1,5\n")) << german.output.toStdString();

    const Outcome plain = RunProgram({});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_TRUE(plain.output.contains("amount: 15\n")) << plain.output.toStdString();
}

TEST(Program, QtsCommandLineOptionsChangeNothing) {
    const Outcome run =
        RunProgram({QStringLiteral("-qwindowtitle"), QStringLiteral("Other"),
                    QStringLiteral("-qwindowgeometry"), QStringLiteral("400x350+20+30")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.output.contains("title: Corvanelle Tandrel\n")) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("frame at: 202,109\n")) << run.output.toStdString();
}

}  // namespace
