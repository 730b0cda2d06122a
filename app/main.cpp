#include "form1.h"
#include "nativeplatform.h"

int main(int argc, char** argv) {
    const auto platform = createNativePlatform(argc, argv);
    if (!platform)
        return 1;
    Form1 form(*platform);
    return platform->run();
}
