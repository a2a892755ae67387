#include "app/application.h"
#include "app/ufrmPrincipale.h"

int main(int argc, char** argv)
{
    tq::TApplication application(argc, argv);
    tq::TfrmPrincipale frmPrincipale;
    frmPrincipale.show();
    return application.exec();
}
