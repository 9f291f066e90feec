// The factories of the component's services. Each joins the front of the service list as it
// is constructed, so the list runs opposite to this order.
#include "component/componentversion.h"
#include "component/initquit.h"
#include "component/preferences_service.h"
#include "component/service_factory.h"

namespace {
service_factory_single_t<componentversion_myimpl> g_componentversion_factory;
initquit_factory_t<myinitquit> g_initquit_factory;
preferences_page_factory_t<preferences_page_myimpl> g_preferences_page_factory;
}  // namespace
