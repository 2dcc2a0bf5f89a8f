#include "process_start.h"
#include "sound_app.h"

int main(int argc, char** argv) {
    sordanel::PrepareProcessForFiles();
    sordanel::CSoundApp application(argc, argv);
    return application.InitInstance();
}
