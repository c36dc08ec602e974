#include "launcher/profile.h"
#include "launcher/stand_ins.h"
#include "valkor/enable_recipe.h"

const Profile& ValkorProfile() {
    static const Profile profile = {"valkor", 17, 18, 19, 20, 21, 22, 23, EnableRecipe, StandInPlayTaunt};
    return profile;
}
