#include "launcher/profile.h"
#include "novalkor/disable_recipe.h"
#include "novalkor/taunt.h"
#include "resources/string_ids.h"

const Profile& NovalkorProfile() {
    static const Profile profile = {"novalkor",
                                      IDS_NOVALKOR_TITLE,
                                      IDS_NOVALKOR_PLAY,
                                      IDS_NOVALKOR_README,
                                      IDS_NOVALKOR_SITE_CAPTION,
                                      IDS_NOVALKOR_CANCEL,
                                      IDS_NOVALKOR_README_FILE,
                                      IDS_NOVALKOR_SITE,
                                      DisableRecipe,
                                      NovalkorTaunt};
    return profile;
}
