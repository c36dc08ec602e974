#include "launcher/profile.h"
#include "valkor/enable_recipe.h"
#include "valkor/taunt.h"

const Profile& ValkorProfile() {
    static const Profile profile = {"valkor", 17, 18, 19, 20, 21, 22, 23, EnableRecipe, ValkorTaunt};
    return profile;
}
