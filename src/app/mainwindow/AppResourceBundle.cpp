#include "app/mainwindow/AppResourceBundle.h"

namespace tolvane {

const ResourceBundle& tolvaneAppBundle()
{
    static const ResourceBundle bundle
        = ResourceBundle::require(tolvaneAppBundleName, ResourceBundle::candidates(tolvaneAppBundleName));
    return bundle;
}

} // namespace tolvane
