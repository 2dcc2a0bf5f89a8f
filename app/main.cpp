#include "sound_app.h"

int main(int argc, char** argv) {
    sordanel::CSoundApp application(argc, argv);
    return application.InitInstance();
}
