#include "app/Application.h"
#include "app/MainUnit.h"

int main(int argc, char** argv)
{
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    TMainForm MainForm;
    MainForm.show();
    MainForm.RecoverPractice();
    return app.exec();
}
