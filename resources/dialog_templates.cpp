#include "dialog_templates.h"
#include "platform/win_types.h"
#include "resources/resource_ids.h"

namespace {

#define DIALOG_BEGIN(id, w, h, style, ex) const ControlTemplate kControls##id[] = {
#define CONTROL_HIDDEN(id, cls, text, style, x, y, w, h, ex) CONTROL_TEXT(id, cls, text, style, x, y, w, h, ex)
#define CONTROL_TEXT(id, cls, text, style, x, y, w, h, ex) \
    {id, cls, text, 0, static_cast<uint32_t>(style), x, y, w, h, static_cast<uint32_t>(ex)},
#define CONTROL_IMAGE(id, cls, image, style, x, y, w, h, ex) \
    {id, cls, "", image, static_cast<uint32_t>(style), x, y, w, h, static_cast<uint32_t>(ex)},
#define DIALOG_END() };
#include "dialogs.def"
#undef DIALOG_BEGIN
#undef DIALOG_END

#define DIALOG_BEGIN(id, w, h, style, ex)                                                  \
    {id, w, h, static_cast<uint32_t>(style), static_cast<uint32_t>(ex), kControls##id, \
     sizeof(kControls##id) / sizeof(kControls##id[0])},
#undef CONTROL_TEXT
#undef CONTROL_IMAGE
#undef CONTROL_HIDDEN
#define CONTROL_TEXT(...)
#define CONTROL_HIDDEN(...)
#define CONTROL_IMAGE(...)
#define DIALOG_END()
const DialogTemplate kDialogs[] = {
#include "dialogs.def"
};

}  // namespace

const DialogTemplate* FindDialogTemplate(unsigned int id) {
    for (const DialogTemplate& dialog : kDialogs)
        if (dialog.id == id) return &dialog;
    return nullptr;
}
