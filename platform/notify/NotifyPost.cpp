#include <notify/notify.h>

#include <notify/DarwinNotifyCenter.h>

namespace notify {

uint32_t notify_post(const char* name)
{
    if (!name || !DarwinNotifyCenter::shared().post(name))
        return NOTIFY_STATUS_INVALID_NAME;
    return NOTIFY_STATUS_OK;
}

}
