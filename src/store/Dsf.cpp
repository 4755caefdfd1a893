// The attached DSF: record access, create, attach, store and load of single series.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/base/Bytes.h"
#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "store/Store.h"

namespace plotane {

void Store::closeFile() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  fileRecords_ = 0;
}

}  // namespace plotane
