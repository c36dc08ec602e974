#include "launcher/profile.h"
#include "valkor/enable_recipe.h"
#include "valkor/taunt.h"
#include "resources/string_ids.h"

const Profile& ValkorProfile() {
    static const Profile profile = {"valkor",
                                      IDS_VALKOR_TITLE,
                                      IDS_VALKOR_PLAY,
                                      IDS_VALKOR_README,
                                      IDS_VALKOR_SITE_CAPTION,
                                      IDS_VALKOR_CANCEL,
                                      IDS_VALKOR_README_FILE,
                                      IDS_VALKOR_SITE,
                                      EnableRecipe,
                                      ValkorTaunt};
    return profile;
}
