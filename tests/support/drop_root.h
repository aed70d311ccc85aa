// Root may read, search and write anything whatever its mode says, and the tests run as root: a
// check of what a folder or file mode refuses runs in a forked child that first becomes `nobody`.
// Linux only.
#pragma once

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace zelvo_test {

// Makes the calling process `nobody`, without root's groups; true when it now is (or never was
// root). Irreversible: call it in a child, such as the statement of an EXPECT_EXIT.
inline bool drop_root() {
  if (geteuid() != 0) return true;
  const passwd* nobody = getpwnam("nobody");
  return nobody && setgroups(0, nullptr) == 0 && setgid(nobody->pw_gid) == 0 &&
         setuid(nobody->pw_uid) == 0;
}

}  // namespace zelvo_test
