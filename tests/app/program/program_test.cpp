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

// The program runs in the test's own locale, which CMake sets for each test:
// Wine gives a program it starts the locale of the Wine process itself.
// `driverOptions` go to the driver plugin.
Outcome RunProgram(const QStringList& arguments, const QString& driverOptions = {},
                   int expectedExitCode = 0) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(TANDREL_DRIVER_PLUGINS));
    QString driver = QStringLiteral("tandrelprogramdriver");
    if (!driverOptions.isEmpty()) driver += QLatin1Char(':') + driverOptions;
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), driver);
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
    // Windows ends the driver's lines with CR LF.
    run.output = QString::fromLocal8Bit(program.readAllStandardOutput()).remove(QLatin1Char('\r'));
    if (run.exitCode != expectedExitCode) {
        ADD_FAILURE() << program.readAllStandardError().constData();
    }
    return run;
}

TEST(Program, FileExitEndsItWithCodeZero) {
    const Outcome run = RunProgram({});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.output.contains("amount: 15\n")) << run.output.toStdString();
}

TEST(Program, ExitsWithTheEventLoopsStatus) {
    EXPECT_EQ(RunProgram({}, QStringLiteral("exit=3"), 3).exitCode, 3);
}

TEST(ProgramInGerman, TheAmountFieldUsesTheLocalesDecimalSeparator) {
    const Outcome run = RunProgram({});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.output.contains("amount: 1,5\n")) << run.output.toStdString();
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
