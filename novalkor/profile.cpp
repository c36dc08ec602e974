#include "launcher/profile.h"
#include "launcher/stand_ins.h"
#include "novalkor/disable_recipe.h"

const Profile& NovalkorProfile() {
    static const Profile profile = {"novalkor", 1, 2, 3, 4, 5, 6, 7, DisableRecipe, StandInPlayTaunt};
    return profile;
}
