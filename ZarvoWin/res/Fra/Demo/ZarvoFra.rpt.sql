-- Sample report definitions shipped for French, given with the sample
-- database to a user created with the sample data: three reports over the
-- sample's projects, in the layout of a report database of version 1.

BEGIN TRANSACTION;

create table Reports(Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Periode integer, Debut date, Fin date, Status integer, ShowStatus int, Type integer, Projets text, Activités text, Titre text, Grp_1 integer, Grp_2 integer, Grp_3 integer, Grp_4 integer, Grp_5 integer, Grp_Col integer, Detail int, Modele text, PaperSize int, PaperWidth int, PaperHeight int, Portrait int, MargeLeft int, MargeTop int, MargeRight int, MargeBottom int, Colonnes text);
create table OnScreen(Id integer, Preview integer, Zoom integer);
create table Infos(Name text, Value text);
insert into Infos(Name, Value) values ('VersionDB','1');

-- Periode: 3 previous month, 4 current month, 6 current week.
-- Grp_n: 2 day, 3 project, 4 activity, -1 no further level.
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Temps du mois par projet',4,'2025-01-01','2025-01-31',0,1,0,'','','',3,4,-1,-1,-1,0,1,'zarvo',9,2100,2970,1,100,100,100,100,'');
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Semaine en cours par jour',6,'2025-01-13','2025-01-19',0,1,0,'','','',2,3,-1,-1,-1,0,1,'zarvo',9,2100,2970,1,100,100,100,100,'');
insert into Reports (Nom,Periode,Debut,Fin,Status,ShowStatus,Type,Projets,Activités,Titre,Grp_1,Grp_2,Grp_3,Grp_4,Grp_5,Grp_Col,Detail,Modele,PaperSize,PaperWidth,PaperHeight,Portrait,MargeLeft,MargeTop,MargeRight,MargeBottom,Colonnes)
  values ('Mois précédent par activité',3,'2024-12-01','2024-12-31',0,1,0,'','','',4,3,-1,-1,-1,0,1,'zarvo',9,2100,2970,1,100,100,100,100,'');

COMMIT;
