#pragma once
#include <linux/capability.h>

// For the life of the object, this thread loses the rights that let root
// read and write any file regardless of its permissions: where the suite
// runs as root, a folder or file the user may not write refuses this
// thread as it refuses any other user. Elsewhere it changes nothing.
class WithoutFileRights
{
public:
    WithoutFileRights();
    ~WithoutFileRights();
    WithoutFileRights(const WithoutFileRights &) = delete;
    WithoutFileRights &operator=(const WithoutFileRights &) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_active = false;
};
