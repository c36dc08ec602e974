#include "launcher/profile.h"
#include "novalkor/disable_recipe.h"
#include "novalkor/taunt.h"

const Profile& NovalkorProfile() {
    static const Profile profile = {"novalkor", 1, 2, 3, 4, 5, 6, 7, DisableRecipe, NovalkorTaunt};
    return profile;
}
