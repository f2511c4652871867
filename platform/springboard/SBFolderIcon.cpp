#include <springboard/SBFolderIcon.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBFolderIcon)

runtime::Ref<SBFolderIcon> SBFolderIcon::create(runtime::Ref<SBFolder> folder)
{
    auto icon = runtime::adoptRef(*new SBFolderIcon(folder));
    folder->setIcon(icon.ptr());
    return icon;
}

}
