// The built-in demo day. Traders and their plain passwords (the exchange stores MD5 digests):
//   00010001 / trader1   member 0001, client 00010001 (own account)
//   00010002 / trader2   member 0001, client 00010002 (agency account)
//   00020001 / trader3   member 0002, client 00020001
//   00090001 / maker9    member 0009, the market-activity bot's trader
// Monitor user: admin001 / admin1.
#include "sim/TradingDay.h"

namespace quorex::sim {

std::string_view DemoDayToml() {
    return R"toml(
# Trade date: today unless set here, e.g. trade_date = "20260105".

[exchange]
exchangeID = "QRX"
exchangeName = "演示钢材交易中心"
state = "1"

[[market]]
marketID = "01"
marketName = "双向竞价"
marketAbbr = "双向竞价"
exchangeID = "QRX"
type = "1"
openFlag = "1"
marketState = "1"

[[market]]
marketID = "02"
marketName = "在线专场"
marketAbbr = "在线专场"
exchangeID = "QRX"
type = "2"
openFlag = "0"
marketState = "0"

[[market]]
marketID = "03"
marketName = "在线挂牌"
marketAbbr = "在线挂牌"
exchangeID = "QRX"
type = "3"
openFlag = "0"
marketState = "0"

[[member]]
memberID = "0001"
memAbbr = "演示钢铁"
memName = "演示钢铁有限公司"
tradeRight = "1"

[[member]]
memberID = "0002"
memAbbr = "示范贸易"
memName = "示范贸易有限公司"
tradeRight = "1"

[[member]]
memberID = "0009"
memAbbr = "做市商"
memName = "演示做市有限公司"
tradeRight = "1"

[[client]]
clientID = "00010001"
memberID = "0001"
clientAbbr = "演示自营"
accountType = "0"
tradeRight = "1"

[[client]]
clientID = "00010002"
memberID = "0001"
clientAbbr = "演示代理"
accountType = "1"
tradeRight = "1"

[[client]]
clientID = "00020001"
memberID = "0002"
clientAbbr = "示范自营"
accountType = "0"
tradeRight = "1"

[[client]]
clientID = "00090001"
memberID = "0009"
clientAbbr = "做市自营"
accountType = "0"
tradeRight = "1"

[[trader]]
traderID = "00010001"
traderName = "张演示"
memberID = "0001"
clientID = "00010001"
plainPassword = "trader1"
state = "1"

[[trader]]
traderID = "00010002"
traderName = "李演示"
memberID = "0001"
clientID = "00010002"
plainPassword = "trader2"
state = "1"

[[trader]]
traderID = "00020001"
traderName = "王示范"
memberID = "0002"
clientID = "00020001"
plainPassword = "trader3"
state = "1"

[[trader]]
traderID = "00090001"
traderName = "做市机器人"
memberID = "0009"
clientID = "00090001"
plainPassword = "maker9"
state = "1"

[[user]]
userID = "admin001"
userName = "监控员"
plainPassword = "admin1"
state = "1"

[[instrument]]
instID = "000001"
yqInstID = "LW2601"
yqName = "螺纹钢2601"
marketID = "01"
cateID = "LW-HRB400-20"
unit = 10
tick = 1.0
maxHand = 500
minHand = 1
upperLimit = 3850.0
lowerLimit = 3150.0
deliveryDate = "20260120"
openFlag = "1"
tradeState = "1"
refPrice = 3500.0
maxPosi = 100000
marginRate = 0.1

[[instrument]]
instID = "000002"
yqInstID = "RJ2602"
yqName = "热卷2602"
marketID = "01"
cateID = "RJ-Q235B-5.75"
unit = 10
tick = 1.0
maxHand = 500
minHand = 1
upperLimit = 4070.0
lowerLimit = 3330.0
deliveryDate = "20260220"
openFlag = "1"
tradeState = "1"
refPrice = 3700.0
maxPosi = 100000
marginRate = 0.1

[[instrument]]
instID = "000003"
yqInstID = "XC2603"
yqName = "线材2603"
marketID = "01"
cateID = "XC-Q195-6.5"
unit = 10
tick = 2.0
maxHand = 300
minHand = 1
upperLimit = 3960.0
lowerLimit = 3240.0
deliveryDate = "20260320"
openFlag = "1"
tradeState = "1"
refPrice = 3600.0
maxPosi = 100000
marginRate = 0.12

[[last_quotation]]
instID = "000001"
yqInstID = "LW2601"
yqName = "螺纹钢2601"
lastAverage = 3500.0
open = 3470.0
high = 3520.0
low = 3460.0
lastest = 3498.0
average = 3500.0
volume = 1200
Posi = 40
turnOver = 42000000.0

[[last_quotation]]
instID = "000002"
yqInstID = "RJ2602"
yqName = "热卷2602"
lastAverage = 3700.0
open = 3690.0
high = 3725.0
low = 3680.0
lastest = 3702.0
average = 3700.0
volume = 800
Posi = 0
turnOver = 29600000.0

[[last_quotation]]
instID = "000003"
yqInstID = "XC2603"
yqName = "线材2603"
lastAverage = 3600.0
open = 3600.0
high = 3600.0
low = 3600.0
lastest = 3600.0
average = 3600.0

[[capital]]
memberID = "0001"
accountType = "0"
lastBalance = 10000000.0
credit = 2000000.0
availCredit = 2000000.0

[[capital]]
memberID = "0001"
accountType = "1"
lastBalance = 5000000.0

[[capital]]
memberID = "0002"
accountType = "0"
lastBalance = 10000000.0

[[capital]]
memberID = "0009"
accountType = "0"
lastBalance = 1000000000000.0

[[position]]
clientID = "00010001"
instID = "000001"
longPosi = 20
longPrice = 3480.0

[[position]]
clientID = "00020001"
instID = "000001"
shortPosi = 20
shortPrice = 3490.0

[[indenture]]
indentNo = "E000000001"
clientID = "00010001"
memberID = "0001"
cateID = "LW-HRB400-20"
factoryID = "01"
regionCode = "SH"
warehouseID = 1
regDate = "20251201"
expDate = "20261231"
originalNo = "SH-WH1-000001"
lginAmount = 100
avaAmount = 100
canUseInYq = "1"

[[indenture]]
indentNo = "E000000002"
clientID = "00010001"
memberID = "0001"
cateID = "RJ-Q235B-5.75"
factoryID = "02"
regionCode = "TJ"
warehouseID = 2
regDate = "20251201"
expDate = "20261231"
originalNo = "TJ-WH2-000002"
lginAmount = 50
avaAmount = 50
canUseInYq = "1"

[[indenture]]
indentNo = "E000000003"
clientID = "00020001"
memberID = "0002"
cateID = "LW-HRB400-20"
factoryID = "01"
regionCode = "SH"
warehouseID = 1
regDate = "20251201"
expDate = "20261231"
originalNo = "SH-WH1-000003"
lginAmount = 60
avaAmount = 60
canUseInYq = "1"

[[variety]]
varietyID = "LW"
varAbbr = "螺纹钢"
varName = "热轧带肋钢筋"

[[variety]]
varietyID = "RJ"
varAbbr = "热卷"
varName = "热轧卷板"

[[variety]]
varietyID = "XC"
varAbbr = "线材"
varName = "普通线材"

[[category]]
cateID = "LW-HRB400-20"
cateName = "螺纹钢 HRB400 20mm"
varietyID = "LW"

[[category]]
cateID = "RJ-Q235B-5.75"
cateName = "热卷 Q235B 5.75mm"
varietyID = "RJ"

[[category]]
cateID = "XC-Q195-6.5"
cateName = "线材 Q195 6.5mm"
varietyID = "XC"

[[factory]]
factoryID = "01"
fctryAbbr = "东方钢厂"
fctryName = "东方钢铁厂"

[[factory]]
factoryID = "02"
fctryAbbr = "北方钢厂"
fctryName = "北方钢铁厂"

[[region]]
regionCode = "SH"
regionAbbr = "上海"
regionName = "上海交货点"

[[region]]
regionCode = "TJ"
regionAbbr = "天津"
regionName = "天津交货点"

[[warehouse]]
warehouseID = 1
warehouseName = "上海一号库"
regionCode = "SH"

[[warehouse]]
warehouseID = 2
warehouseName = "天津二号库"
regionCode = "TJ"

[[bulletin]]
seqNo = 1
title = "演示交易日"
content = "欢迎使用演示交易所。本交易日仅供演示与测试。"
announcer = "admin001"

[bot]
traderID = "00090001"
clientID = "00090001"
)toml";
}

}  // namespace quorex::sim
