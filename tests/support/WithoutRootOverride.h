#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Root writes into any folder whatever its permissions. While this object
// lives, the calling thread may not: it drops the capabilities that
// override file permissions from its effective set, and takes them back
// when the object goes. For any other user it changes nothing.
class WithoutRootOverride {
public:
    WithoutRootOverride() { setOverride(false); }
    ~WithoutRootOverride() { setOverride(true); }
    WithoutRootOverride(const WithoutRootOverride&) = delete;
    WithoutRootOverride& operator=(const WithoutRootOverride&) = delete;

private:
    static void setOverride(bool on) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        if (::syscall(SYS_capget, &header, data) != 0)
            return;
        const unsigned overrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        if (on)
            data[0].effective |= overrides & data[0].permitted;
        else
            data[0].effective &= ~overrides;
        ::syscall(SYS_capset, &header, data);
    }
};
