// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SAMPLEBOOK_H
#define TARVELO_SAMPLEBOOK_H

// The log book of the end-to-end tests, as SQL that both stores take.
// clang-format off
// Three packs, three models and six entries whose figures are worked out by hand below.
//   pack 1 "Red 2200"  LiPo 3S 2200 mAh; pack 2 "Blue 5000" LiPo 4S; pack 3 "Rx 1100" LiFe 2S
//   model 1 "Cub" (plane), model 2 "T-Rex" (heli), model 3 "Tx" (RC, timed in hours)
//   id date        time      pack model charged  current           rest
//   1  2024-05-04  00:10:00  1    1     1100     1100/600 s  6.6 A  50 %
//   2  2024-05-04  00:08:00  1    1     1800     1800/480 s 13.5 A  18 %
//   3  2024-05-11  00:05:00  2    2     4000     4000/300 s 48 A    20 %
//   4  2024-05-18  00:06:00  2    2     0        not charged yet
//   5  2024-06-01  02:00:00  3    3     550      550/7200 s 0.275 A 50 %
//   6  2024-06-15  00:12:00  1    2     1000     1000/720 s  5 A    55 % (54.5)
inline const char* const kSampleBook = R"(
INSERT INTO accus(accuId,accuBrand,accuCapacity,numCells,accuStrength,accuTyp,accuDescr) VALUES
  (1,'SLS',2200,3,30,0,'Red 2200'), (2,'Turnigy',5000,4,45,0,'Blue 5000'),
  (3,'A123',1100,2,10,1,'Rx 1100');
INSERT INTO modelList(modelId,modelName,modelTyp) VALUES (1,'Cub',0), (2,'T-Rex',1), (3,'Tx',4);
INSERT INTO logList(id,date,time,accuId,modelId,charged) VALUES
  (1,'2024-05-04','00:10:00',1,1,1100), (2,'2024-05-04','00:08:00',1,1,1800),
  (3,'2024-05-11','00:05:00',2,2,4000), (4,'2024-05-18','00:06:00',2,2,0),
  (5,'2024-06-01','02:00:00',3,3,550), (6,'2024-06-15','00:12:00',1,2,1000);
)";

// clang-format on

#endif
