// TovixMan: the program entry.
#include "about_unit.h"
#include "main_unit.h"
#include "resources/resources.h"
#include "target_select_unit.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Sonavel v1.3"));
    initTovixResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tovixman.png")));

    Form_TovixMan = new TForm_TovixMan;
    Form_About = new TForm_About(Form_TovixMan);
    Form_TargetSelection = new TForm_TargetSelection(Form_TovixMan);
    Form_TovixMan->show();
    const int result = app.exec();

    // The window writes its settings as it is destroyed, while the application still runs.
    delete Form_TovixMan;
    return result;
}
