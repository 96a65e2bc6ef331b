#include "WithoutFileRights.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>

WithoutFileRights::WithoutFileRights()
{
    if (::syscall(SYS_capget, &m_header, m_saved) != 0)
        return;
    __user_cap_data_struct reduced[2];
    std::memcpy(reduced, m_saved, sizeof(reduced));
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        reduced[cap / 32].effective &= ~(1u << (cap % 32));
    m_active = ::syscall(SYS_capset, &m_header, reduced) == 0;
}

WithoutFileRights::~WithoutFileRights()
{
    if (m_active)
        ::syscall(SYS_capset, &m_header, m_saved);
}
