// gas-separator-art-compare < PAIRS
//   Compares each "GENERATED<TAB>COMMITTED" line of standard input (see Compare.h), prints every
//   file that differs or is within one level, then a summary with the largest difference found.
//   Exit status 0 when every pair matches, 1 when one does not, 2 on bad usage.
// gas-separator-art-compare --perturb IN OUT LEVELS
//   Writes IN with one channel of one pixel changed by LEVELS (the check of the comparison).
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

#include "Compare.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: gas-separator-art-compare < PAIRS\n"
                         "       gas-separator-art-compare --perturb IN OUT LEVELS\n");
    return 2;
}

int compareAll() {
    QTextStream in(stdin);
    int identical = 0, within = 0, different = 0, largest = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty())
            continue;
        const QStringList pair = line.split('\t');
        if (pair.size() != 2)
            return usage();
        const art::Comparison result = art::compareFiles(pair[0], pair[1]);
        largest = std::max(largest, result.largest);
        if (!result.matches) {
            ++different;
            std::printf("differs: %s: %s\n", qPrintable(pair[1]), qPrintable(result.reason));
        } else if (result.identical) {
            ++identical;
        } else {
            ++within;
            std::printf("within %d level: %s (%lld pixels, largest difference %d)\n",
                        art::kChannelTolerance, qPrintable(pair[1]), result.pixels, result.largest);
        }
    }
    std::printf("compared %d files: %d identical, %d pictures within %d level, %d different; "
                "largest channel difference %d\n",
                identical + within + different, identical, within, art::kChannelTolerance,
                different, largest);
    return different == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--perturb")) {
        bool isNumber = false;
        const int levels = args[4].toInt(&isNumber);
        if (!isNumber)
            return usage();
        if (art::perturbPicture(args[2], args[3], levels))
            return 0;
        std::fprintf(stderr, "cannot write %s changed by %d levels\n", qPrintable(args[3]), levels);
        return 1;
    }
    return args.size() == 1 ? compareAll() : usage();
}
