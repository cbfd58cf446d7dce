// Stands in for Kestrix in the test of what becomes of a font reader whose program dies: has the
// reader named first read the file named second, and waits until it is killed.
#include "details/font_reader.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    const QCoreApplication application(argc, argv);
    if (argc != 3) {
        return 2;
    }
    kestrix::details::FontReader reader(QString::fromLocal8Bit(argv[1]), std::chrono::minutes(1));
    reader.request(QString(), {QString::fromLocal8Bit(argv[2])});
    return QCoreApplication::exec();
}
