// CorvaneApp: the settings panel as a stand-alone application. The application object
// names itself as principal and delegate; everything else happens when it has launched.

#include "CorvaneAppApplication.h"

int main(int argc, char **argv)
{
    int result = 0;
    {
        AutoreleasePool pool;
        result =
            UIApplicationMain(argc, argv, "CorvaneAppApplication"_ns, "CorvaneAppApplication"_ns);
    }
    return result;
}
