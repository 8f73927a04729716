// The game's own texts of the default database.
#include "DataBase.h"
#include "DbText.h"

void BuildDefaultVocabulary(TVudVocabulary& v) {
  v.Clear();
  v.BattleStart = T(" aparece.");
  v.FirstStrike = T("¡Atacáis primero!");
  v.EscapeSuccess = T("Habéis escapado.");
  v.EscapeFailure = T("¡No habéis podido escapar!");
  v.Victory = T("¡Victoria!");
  v.Defeat = T("El grupo ha caído...");
  v.ExpGained = T(" puntos de experiencia.");
  v.MoneyGainedBefore = T("Obtenéis ");
  v.MoneyGainedAfter = T(".");
  v.ItemObtained = T(" obtenido.");
  v.NormalAttack = T(" ataca.");
  v.HeroDies = T(" ha caído.");
  v.EnemyDies = T(" ha sido derrotado.");
  v.Defend = T(" se defiende.");
  v.EnemyChecks = T(" observa la situación.");
  v.EnemyGathers = T(" acumula fuerzas.");
  v.EnemySelfDestructs = T(" se autodestruye.");
  v.EnemyEscapes = T(" huye.");
  v.EnemyTransforms = T(" se transforma.");
  v.EnemyDamaged = T(" de daño.");
  v.HeroAttackMisses = T(" esquiva el ataque.");
  v.HeroDamaged = T(" de daño recibido.");
  v.EnemyAttackMisses = T(" no recibe daño.");
  v.SkillFailsA = T(" falla el conjuro.");
  v.SkillFailsB = T("No tiene efecto.");
  v.SkillFailsC = T("El ataque falla.");
  v.AttackDodged = T(" esquiva el golpe.");
  v.ItemUsed = T(" usado.");
  v.HPRestored = T(" recupera");
  v.ParamRaised = T(" sube");
  v.ParamLowered = T(" baja");
  v.ParamAbsorbedAlly = T(" absorbe");
  v.ParamAbsorbedEnemy = T(" le roba");
  v.AttribDefenceRaised = T(": defensa sube");
  v.AttribDefenceLowered = T(": defensa baja");
  v.LevelUp = T(" sube al");
  v.SkillLearned = T(" aprendido.");
  const char* greetings[3][2] = {{"¡Bienvenido a la tienda!", "¿Algo más?"},
                                 {"Pase, pase. ¿Qué necesita?", "¿Desea algo más?"},
                                 {"Armas y armaduras de calidad.", "¿Otra cosa?"}};
  for (int i = 0; i < 3; ++i) {
    TVudVocabularyShop& s = v.Shops[i];
    s.Greeting = T(greetings[i][0]);
    s.GreetingAgain = T(greetings[i][1]);
    s.BuyCommand = T("Comprar");
    s.SellCommand = T("Vender");
    s.LeaveCommand = T("Salir");
    s.BuyWhat = T("¿Qué desea comprar?");
    s.BuyHowMany = T("¿Cuántos quiere?");
    s.BuyDone = T("¡Gracias por su compra!");
    s.SellWhat = T("¿Qué desea vender?");
    s.SellHowMany = T("¿Cuántos vende?");
    s.SellDone = T("Trato hecho.");
  }
  for (int i = 0; i < 2; ++i) {
    TVudVocabularyInn& n = v.Inns[i];
    n.GreetingBefore = T(i == 0 ? "La noche cuesta " : "Son ");
    n.GreetingAfter = T(i == 0 ? " por persona." : " la habitación.");
    n.Question = T(i == 0 ? "¿Desean descansar aquí?" : "¿Se quedan a dormir?");
    n.StayCommand = T("Descansar");
    n.LeaveCommand = T("No, gracias");
  }
  v.ItemsPossessed = T("En posesión");
  v.ItemsEquipped = T("Equipados");
  v.Currency = T("Oro");
  v.CommandFight = T("Luchar");
  v.CommandAuto = T("Auto");
  v.CommandEscape = T("Huir");
  v.CommandAttack = T("Atacar");
  v.CommandDefend = T("Defender");
  v.CommandItems = T("Objetos");
  v.CommandSkills = T("Magia");
  v.CommandEquipment = T("Equipo");
  v.CommandSave = T("Guardar");
  v.CommandQuit = T("Salir");
  v.NewGame = T("Nueva partida");
  v.LoadGame = T("Continuar");
  v.EndGame = T("Salir");
  v.Level = T("Nivel");
  v.HP = T("PV");
  v.MP = T("PM");
  v.NormalCondition = T("Normal");
  v.ExpShort = T("E");
  v.LevelShort = T("N");
  v.HPShort = T("V");
  v.MPShort = T("M");
  v.MPCost = T("Coste PM");
  v.AttackPower = T("Ataque");
  v.DefencePower = T("Defensa");
  v.Spirit = T("Mente");
  v.Agility = T("Agilidad");
  v.Weapon = T("Arma");
  v.Shield = T("Escudo");
  v.Armour = T("Armadura");
  v.Helmet = T("Casco");
  v.Accessory = T("Accesorio");
  v.SaveWhichFile = T("¿En qué ranura desea guardar?");
  v.LoadWhichFile = T("¿Qué partida desea cargar?");
  v.FileLabel = T("Partida");
  v.ConfirmQuit = T("¿Seguro que desea salir?");
  v.Yes = T("Sí");
  v.No = T("No");
}
