#include "server/donnees_demo.h"

namespace tq {

namespace {

// Zones: 1 Est, 2 Île-de-France et Centre, 3 Ouest, 4 Sud-Ouest,
// 5 Méditerranée, 6 Rhône-Alpes et Auvergne.
constexpr TCentreDemo centres[] = {
    { u"Contrôle Technique Comtois", u"12 rue de Belfort", u"", u"25000", u"Besançon", 1 },
    { u"Auto Bilan Forézien", u"48 rue de la Montat", u"", u"42100", u"Saint-Étienne", 6 },
    { u"CT des Bords de Loire", u"215 faubourg Bannier", u"", u"45000", u"Orléans", 2 },
    { u"Contrôle Auto des Arènes", u"7 avenue Jean-Jaurès", u"", u"30900", u"Nîmes", 5 },
    { u"Sécurité Auto Charente", u"3 rue de Périgueux", u"Zone industrielle n° 3", u"16000", u"Angoulême", 4 },
    { u"Bilan Auto Ébroïcien", u"18 rue Joséphine", u"Zone d'activités du Long-Buisson", u"27000", u"Évreux", 3 },
    { u"Contrôle Technique de l'Estérel", u"460 avenue de Provence", u"", u"83600", u"Fréjus", 5 },
    { u"Auto Contrôle Vénissian", u"92 boulevard Laurent-Gérin", u"", u"69200", u"Vénissieux", 6 },
    { u"CT du Mont Saint-Clair", u"5 quai de la Résistance", u"", u"34200", u"Sète", 5 },
    { u"Contrôle Auto Périgord", u"27 route d'Angoulême", u"", u"24000", u"Périgueux", 4 },
    { u"Auto Sécurité Sainte-Victoire", u"1180 route de Galice", u"Parc d'activités du Pont de l'Arc", u"13090",
      u"Aix-en-Provence", 5 },
    { u"Contrôle Technique de la Bresse", u"14 avenue de Jasseron", u"", u"01000", u"Bourg-en-Bresse", 6 },
    { u"CT Berrichon", u"33 avenue de la Châtre", u"", u"36000", u"Châteauroux", 2 },
    { u"Auto Bilan Biterrois", u"9 avenue Pierre-Verdier", u"", u"34500", u"Béziers", 5 },
    { u"Contrôle Auto de l'Oise", u"61 avenue Octave-Butin", u"ZAC de Mercières", u"60200", u"Compiègne", 2 },
    { u"Créteil Contrôle Technique", u"8 rue Thomas-Edison", u"Zone d'activités des Petits-Marais", u"94000",
      u"Créteil", 2 },
    { u"Vosges Auto Contrôle", u"2 chemin de la Droite du Lac", u"", u"88400", u"Gérardmer", 1 },
    { u"Contrôle Technique Jurassien", u"40 rue des Écoles", u"", u"39000", u"Lons-le-Saunier", 1 },
    { u"Mâcon Sécurité Auto", u"118 route de Lyon", u"", u"71000", u"Mâcon", 6 },
    { u"CT du Nivernais", u"17 boulevard du Pré-Plantin", u"", u"58000", u"Nevers", 2 },
    { u"Haut-Doubs Contrôle", u"6 rue de l'Industrie", u"Zone industrielle des Grands-Planchants", u"25300",
      u"Pontarlier", 1 },
    { u"Contrôle Auto Cornouaille", u"85 route de Bénodet", u"", u"29000", u"Quimper", 3 },
    { u"Bilan Auto Aveyronnais", u"4 rue Béteille", u"", u"12000", u"Rodez", 4 },
    { u"CT des Côtes-d'Armor", u"37 rue de Brest", u"", u"22000", u"Saint-Brieuc", 3 },
    { u"Contrôle Technique Sénonais", u"19 boulevard du Mail", u"", u"89100", u"Sens", 2 },
    { u"Drôme Auto Bilan", u"250 avenue de Romans", u"", u"26000", u"Valence", 6 },
    { u"Contrôle Auto Spinalien", u"11 avenue Gambetta", u"", u"88000", u"Épinal", 1 },
    { u"Moselle Contrôle Technique", u"3 route de Garche", u"", u"57100", u"Thionville", 1 },
    { u"CT de l'Allier", u"52 boulevard de la Mutualité", u"", u"03200", u"Vichy", 6 },
    { u"Contrôle Technique Alençonnais", u"26 rue de Bretagne", u"", u"61000", u"Alençon", 3 },
    { u"Savoie Auto Contrôle", u"710 avenue du Grand-Arietaz", u"", u"73000", u"Chambéry", 6 },
    { u"Contrôle Auto des Volcans", u"24 rue Georges-Besse", u"Zone industrielle du Brézet", u"63100",
      u"Clermont-Ferrand", 6 },
    { u"CT Toison d'Or", u"5 rue de Cracovie", u"", u"21000", u"Dijon", 1 },
    { u"Vendée Contrôle Auto", u"72 boulevard Aristide-Briand", u"", u"85000", u"La Roche-sur-Yon", 3 },
    { u"Contrôle Technique du Circuit", u"140 avenue Georges-Durand", u"", u"72100", u"Le Mans", 3 },
    { u"Contrôle Auto Montilien", u"15 route de Marseille", u"Zone d'activités du Meyrol", u"26200", u"Montélimar", 5 },
    { u"Contrôle Auto \"La Cité Corsaire\"", u"8 rue de la Croix-Désilles", u"", u"35400", u"Saint-Malo", 3 },
    { u"Contrôle Technique Bigourdan", u"30 avenue du Régiment-de-Bigorre", u"", u"65000", u"Tarbes", 4 },
    { u"Auto Contrôle du Lac", u"12 avenue de Brogny", u"", u"74000", u"Annecy", 6 },
    { u"Contrôle Auto des Îles d'Or", u"1 avenue de l'Aéroport", u"", u"83400", u"Hyères", 5 },
    { u"CT Champenois", u"9 avenue du Général-Sarrail", u"", u"51000", u"Châlons-en-Champagne", 1 },
    { u"Contrôle Technique Val-de-Bièvre", u"43 rue de Chevilly", u"", u"94240", u"L'Haÿ-les-Roses", 2 },
};

constexpr TNomDemo prenoms[] = {
    { u"Hélène", u"helene" },   { u"Jérôme", u"jerome" },     { u"Frédéric", u"frederic" },
    { u"Émilie", u"emilie" },   { u"Anaïs", u"anais" },       { u"Noël", u"noel" },
    { u"Zoé", u"zoe" },         { u"Loïc", u"loic" },         { u"Gaëlle", u"gaelle" },
    { u"Benoît", u"benoit" },   { u"Cécile", u"cecile" },     { u"Sébastien", u"sebastien" },
    { u"Thérèse", u"therese" }, { u"Agnès", u"agnes" },       { u"Joël", u"joel" },
    { u"Inès", u"ines" },       { u"Clément", u"clement" },   { u"Valérie", u"valerie" },
    { u"André", u"andre" },     { u"Mathilde", u"mathilde" }, { u"François", u"francois" },
    { u"Léa", u"lea" },         { u"Raphaël", u"raphael" },
};

constexpr TNomDemo noms[] = {
    { u"Lefèvre", u"lefevre" },     { u"Béranger", u"beranger" }, { u"Mercier", u"mercier" },
    { u"Dubois", u"dubois" },       { u"Gauthier", u"gauthier" }, { u"Rousseau", u"rousseau" },
    { u"Lemaître", u"lemaitre" },   { u"Fournier", u"fournier" }, { u"Girard", u"girard" },
    { u"Chevalier", u"chevalier" }, { u"Leclerc", u"leclerc" },   { u"Boyer", u"boyer" },
    { u"Hébert", u"hebert" },       { u"Barbier", u"barbier" },   { u"Faure", u"faure" },
    { u"Aubert", u"aubert" },       { u"Brunet", u"brunet" },     { u"Meunier", u"meunier" },
    { u"Carré", u"carre" },         { u"Dupré", u"dupre" },       { u"Masson", u"masson" },
    { u"Péron", u"peron" },         { u"Le Goff", u"legoff" },    { u"Guérin", u"guerin" },
    { u"Ménard", u"menard" },
};

} // namespace

std::span<const TCentreDemo> CentresDemo()
{
    return centres;
}

std::span<const TNomDemo> PrenomsDemo()
{
    return prenoms;
}

std::span<const TNomDemo> NomsDemo()
{
    return noms;
}

} // namespace tq
