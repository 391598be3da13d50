#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include "support/TProcessoFilho.h"

int main(int argc, char** argv)
{
    if (const int papel = ExecutaPapelDeFilho(argc, argv); papel >= 0)
        return papel;
    // Screens are driven without a display: nothing may wait for a person.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
