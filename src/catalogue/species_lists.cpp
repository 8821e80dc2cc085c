#include "catalogue/species_lists.h"

namespace quillfen {

// Common names as the catch records hold them, in the order the value box offers them.
// "Central stoneroller" and "Pallid sturgeon" each stand twice, as in the programme's list.
const QStringList& fishSpecies() {
    static const QStringList names = {
        "American brook lamprey", "Alligator gar", "Alabama shad", "Alewife", "American eel",
        "Bluebreast darter", "Blackchin shiner", "Black or white crappie", "Banded darter", "Banded killifish",
        "Brindled madtom", "Banded sculpin", "Bigeye chub", "Bigeye shiner", "Bluegill or longear sunfish",
        "Bluegill or orngsptd sunfish", "Bluegill or redear sunfish", "Bluegill or warmouth", "Bighead carp",
        "Bullhead minnow", "Bluehead shiner", "Black buffalo", "Black bullhead", "Black crappie",
        "Black redhorse", "Brook stickleback", "Brook silverside", "Brook trout", "Blue catfish", "Bluegill",
        "Bull shark", "Bloater", "Bigmouth buffalo", "Bigmouth shiner", "Brown bullhead", "Blacknose dace",
        "Bluntnose darter", "Bluntnose minnow", "Blacknose shiner", "Brown trout", "Banded pygmy sunfish",
        "Blackspotted topminnow", "Burbot", "Blackside darter", "Brassy minnow", "Bantam sunfish",
        "Blacktail shiner", "Blackstripe topminnow", "Blue sucker", "Bowfin", "Carp or goldfish hybrid",
        "Common carp", "Coho salmon", "Creek chub", "Creek chubsucker", "Crystal darter", "Central stoneroller",
        "Central mudminnow", "Common shiner", "Central stoneroller", "Channel catfish", "Chestnut lamprey",
        "Chain pickerel", "Channel shiner", "Cypress darter", "Cisco", "Deepwater sculpin", "Dusky darter",
        "Emerald shiner", "Eastern sand darter", "Flathead chub", "Flathead catfish", "Fathead minnow",
        "Freckled madtom", "Flier", "Fantail darter", "Freshwater drum", "Goldeye", "Goldfish",
        "Golden redhorse", "Golden shiner", "Green sunfish hybrid", "Green sunfish",
        "Green or bluegill sunfish", "Grass carp", "Greenside darter", "Green or longear sunfish",
        "Green or orangespotted sunfish", "Grass pickerel", "Green or pumpkinseed sunfish",
        "Green or redear sunfish", "Green or warmouth sunfish", "Greater redhorse", "Ghost shiner",
        "Gravel chub", "Gizzard shad", "Highfin carpsucker", "Hornyhead chub", "Harlequin darter",
        "Ironcolor shiner", "Inland silverside", "Iowa darter", "Johnny darter", "Least brook lamprey",
        "Longear sunfish", "Logperch", "Lake chub", "Lake chubsucker", "Lake sturgeon", "Largemouth bass",
        "Longnose dace", "Longnose gar", "Longnose sucker", "Larval fish", "Largescale stoneroller",
        "Least darter", "Mud darter", "Mottled sculpin", "Tiger muskellunge", "Mimic shiner", "Mooneye",
        "Western mosquitofish", "Muskellunge", "Mississippi silverside", "Mountain madtom",
        "Northern brook lamprey", "No fish caught", "Northern hog sucker", "Northern redbelly dace",
        "Ninespine stickleback", "Northern madtom", "Northern pike", "Northern studfish",
        "Orngsptd or longear sunfish", "Orangespotted sunfish", "Orangethroat darter", "Ozark minnow",
        "Paddlefish", "Pallid sturgeon", "Pallid shiner", "Pugnose minnow", "Pearl dace", "Plains minnow",
        "Pumpkinseed", "Pugnose shiner", "Pirate perch", "Pumpkinseed or bluegill",
        "Pumknsd or orngsptd sunfish", "Pumpkinseed or warmouth", "Quillback", "Rainbow darter",
        "Ribbon shiner", "Rainbow smelt", "Rainbow trout", "Red shiner", "Redear sunfish", "Redfin shiner",
        "Rock bass", "River darter", "Rosefin shiner", "Redear sunfish or warmouth", "River chub",
        "River carpsucker", "River redhorse", "River shiner", "Rosyface shiner", "Silverband shiner",
        "Striped or white bass", "Steelcolor shiner", "Striped bass", "Slender madtom", "Sea lamprey",
        "Sicklefin chub", "Spotfin shiner", "Sturgeon chub", "Spring cavefish", "Sauger",
        "Sauger or walleye hybrid", "Slenderhead darter", "Shorthead redhorse", "Starhead topminnow",
        "Skipjack herring", "Silverjaw minnow", "Speckled chub", "Slough darter", "Smallmouth buffalo",
        "Smallmouth bass", "Suckermouth minnow", "Shortnose gar", "Shovelnose sturgeon", "Sand shiner",
        "Spottail darter", "Striped mullet", "Spotted sucker", "Striped shiner", "Southern redbelly dace",
        "Spotted bass", "Stonecat", "Stripetail darter", "Spotted gar", "Spotted sunfish", "Spottail shiner",
        "Silver chub", "Silver carp", "Silver lamprey", "Mississippi silvery minnow", "Silver redhorse",
        "Shadow bass", "Slimy sculpin", "Threadfin shad", "Tadpole madtom", "Trout perch",
        "Unidentified buffalo", "Unidentified bullhead", "Unidentified sunfish", "Unidentified carpsucker",
        "Unidentified sucker", "Unidentified minnow", "Unidentified darter", "Unidentified Etheostoma",
        "Unidentified chub", "Unidentified Lepomis", "Unidentified lamprey", "Unidentified Morone",
        "Unidentified shiner", "Unidentified Percidae", "Unidentified Pimephales", "Unidentified Percina",
        "Unidentified redhorse", "Unidentified Stizostedion", "Unidentified", "Weed shiner", "Walleye",
        "Warmouth", "Western sand darter", "Western silvery minnow", "White bass", "White catfish",
        "White crappie", "White perch", "Pallid sturgeon", "White sucker", "Yellow bullhead", "Age-0 fish",
        "Yellow bass", "Yellow perch", "No Entry",
    };
    return names;
}

const QStringList& vegetationSpecies() {
    static const QStringList names = {
        "No Aquatic Vegetation", "Common Duckweed", "Greater Duckweed", "Smartweed", "Primrose-willow",
        "Spikerush", "Rice Cut Grass", "Filamentous Algae", "Coons Tail", "Columbian Watermeal",
        "Curly Pondweed", "Long-leaf Pondweed", "Canadian Waterweed", "Sago Pondweed",
        "Narrow-leaf Pondweed Species", "American Lotus", "White Waterlily", "Giant Bur-reed", "River Bulrush",
        "Common Bladderwort", "Star Duckweed", "Species of Chara", "Broad-leaf Arrowhead", "Watermilfoil",
        "Water Stargrass", "Nodding Waternymph", "Southern Waternymph", "Reed Canary Grass", "Wild Celery",
        "Purple Loostrife", "Flat-stem Pondweed", "Stiff Arrowhead", "Arrowhead", "Barnyard Grass",
        "Yellow Flatsedge", "Bedstraw", "Mosquitofern", "Water Knotweed", "Pigweed", "Flatsedge", "Cutgrass",
        "False Daisy", "Hedge False Bindweed", "Oneseed Burr Cucumber", "Great Ragweed", "Nettle",
        "Silver Maple", "Grass", "Unknown Species 5", "Matted Sandmat", "Green Bristlegrass", "Fleabane",
        "Dogbane", "Sedge", "Floating Primrose-willow", "Clasping pepperweed", "Stinging Nettle", "Ragwort",
        "Prairie Bundleflower", "Sandbar Lovegrass", "Straw-colored Flatsedge", "Pennsylvania Smartweed",
        "Rough Cocklebur", "Common Buttonbush", "Duckweed", "Longroot Smartweed", "Leafy Pondweed",
        "Swamp Smartweed", "Small Pondweed", "American Waterplantain", "Halberdleaf Rosemallow", "Black Willow",
        "Eurasian Watermilfoil", "Soft-stem Bulrush", "Common Cattail", "Dock", "Curly Dock", "Swamp Verbena",
        "Swamp Milkweed", "Horned Pondweed", "Wild Rice", "Dwarf Violet Iris", "Richardsons Pondweed",
        "Watermeal", "Pickerelweed", "Yellow Pond Lily", "Longbeak Buttercup", "Narrowleaf Cattail",
        "Northern Watermilfoil", "Mexican Mosquitofern", "Several Duckweed Species", "Unknown Species 1",
        "Kentucky Bluestem", "Cattail", "Valley Redstem", "Unknown Species 2", "Virginia Wildrye", "Bulrush",
        "Ribbonleaf Pondweed", "Moss", "Bur-reed",
    };
    return names;
}

}  // namespace quillfen
