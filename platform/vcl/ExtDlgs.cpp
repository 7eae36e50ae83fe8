#include "platform/vcl/ExtDlgs.h"

#include "platform/vcl/Pictures.h"
#include "platform/vcl/TypInfo.h"

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
    SetFilter(GraphicFilter());
    SetPreviewsPictures(true);
}

bool TSavePictureDialog::Execute() {
    return DoExecute(&GetSaveFileNameA);
}

namespace {

const TClass openPictureDialogClass = DescribeClass<TOpenPictureDialog, TOpenDialog>();
const TClass savePictureDialogClass = DescribeClass<TSavePictureDialog, TOpenPictureDialog>();

} // namespace
