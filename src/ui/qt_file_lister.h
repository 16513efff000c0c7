#pragma once
#include "core/file_lister.h"

namespace qvx::ui {

// The places of the load and save panels as Qt knows them: the filesystem root, the
// home folder and every mounted volume that is ready. Folders and files are listed by
// the core's lister.
class QtFileLister : public SystemFileLister {
 public:
  std::vector<Place> places() override;
};

}  // namespace qvx::ui
