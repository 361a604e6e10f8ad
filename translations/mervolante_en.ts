<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="ru_RU">
<context>
    <name></name>
    <message id="100">
        <source>russian</source>
        <translation>english</translation>
    </message>
    <message id="101">
        <source>RU</source>
        <translation>EN</translation>
    </message>
    <message id="102">
        <source> - Командоконтроллер газа</source>
        <translation> - Gas controller</translation>
    </message>
    <message id="103">
        <source>mervolante.rtf</source>
        <translation>mervolante_en.rtf</translation>
    </message>
    <message id="104">
        <source>Открой файл визуализации</source>
        <translation>Open recording file</translation>
    </message>
    <message id="105">
        <source>Запиши файл визуализации</source>
        <translation>Save recording file</translation>
    </message>
    <message id="106">
        <source>Открой файл параметров</source>
        <translation>Open parameter file</translation>
    </message>
    <message id="107">
        <source>Запиши файл параметров</source>
        <translation>Save parameter file</translation>
    </message>
    <message id="108">
        <source>- Тестер</source>
        <translation>- Tester</translation>
    </message>
    <message id="110">
        <source>Параметры</source>
        <translation>Parameters</translation>
    </message>
    <message id="111">
        <source>Конфигурация</source>
        <translation>Configuration</translation>
    </message>
    <message id="112">
        <source>Установка</source>
        <translation>Set-up</translation>
    </message>
    <message id="113">
        <source>Карта</source>
        <translation>Map</translation>
    </message>
    <message id="114">
        <source>Процессор</source>
        <translation>Processor</translation>
    </message>
    <message id="115">
        <source>Версия</source>
        <translation>Version</translation>
    </message>
    <message id="120">
        <source>Отсчёт файла визуализации</source>
        <translation>Open recording file</translation>
    </message>
    <message id="121">
        <source>Запись файла визуализации</source>
        <translation>Save recording file</translation>
    </message>
    <message id="122">
        <source>Осциллоскоп</source>
        <translation>Oscilloscope</translation>
    </message>
    <message id="123">
        <source>Основа времени</source>
        <translation>Time base</translation>
    </message>
    <message id="124">
        <source>Градиент</source>
        <translation>Grid</translation>
    </message>
    <message id="125">
        <source>Расположение окон</source>
        <translation>Window arrangement</translation>
    </message>
    <message id="126">
        <source>Отсчёт файла параметров</source>
        <translation>Open parameter file</translation>
    </message>
    <message id="127">
        <source>Запись файла параметров</source>
        <translation>Save parameter file</translation>
    </message>
    <message id="128">
        <source>Лупа</source>
        <translation>Magnifier</translation>
    </message>
    <message id="129">
        <source>Отсчёт параметров командоконтроллера</source>
        <translation>Read the controller&apos;s parameters</translation>
    </message>
    <message id="130">
        <source>Запись фабричных параметров
<byte value="xd"/>      к  командоконтроллеру</source>
        <translation>Write the factory parameters
<byte value="xd"/>      to the controller</translation>
    </message>
    <message id="131">
        <source>Переключает ход работы
<byte value="xd"/> используй  также клавишу [F8]</source>
        <translation>Switches the operating mode
<byte value="xd"/> also use the key [F8]</translation>
    </message>
    <message id="132">
        <source>Продолжай</source>
        <translation>Continue</translation>
    </message>
    <message id="133">
        <source>Примени</source>
        <translation>Apply</translation>
    </message>
    <message id="134">
        <source>Аннулируй</source>
        <translation>Cancel</translation>
    </message>
    <message id="135">
        <source>Читай</source>
        <translation>Read</translation>
    </message>
    <message id="136">
        <source>Запиши</source>
        <translation>Write</translation>
    </message>
    <message id="137">
        <source>Ликвидируй</source>
        <translation>Erase</translation>
    </message>
    <message id="138">
        <source>Впиши</source>
        <translation>Program</translation>
    </message>
    <message id="140">
        <source>СОЕДИНИ</source>
        <translation>CONNECT</translation>
    </message>
    <message id="141">
        <source>ВКЛЮЧАТЕЛЬ</source>
        <translation>SWITCH</translation>
    </message>
    <message id="142">
        <source>БЕНЗИН</source>
        <translation>PETROL</translation>
    </message>
    <message id="143">
        <source>АВТО</source>
        <translation>AUTO</translation>
    </message>
    <message id="144">
        <source>ГАЗ</source>
        <translation>GAS</translation>
    </message>
    <message id="145">
        <source>DUAL</source>
        <translation>DUAL</translation>
    </message>
    <message id="150">
        <source> [обор/мин]</source>
        <translation> [rpm]</translation>
    </message>
    <message id="151">
        <source> [поз]</source>
        <translation> [pos]</translation>
    </message>
    <message id="152">
        <source> [V]</source>
        <translation> [V]</translation>
    </message>
    <message id="160">
        <source>Рег. от TPS</source>
        <translation>Reg. by TPS</translation>
    </message>
    <message id="161">
        <source>Открытие</source>
        <translation>Opening</translation>
    </message>
    <message id="162">
        <source>CUT-OFF</source>
        <translation>CUT-OFF</translation>
    </message>
    <message id="163">
        <source>Рег. от RPM </source>
        <translation>Reg. by RPM </translation>
    </message>
    <message id="164">
        <source>Рег. от MAP</source>
        <translation>Reg. by MAP</translation>
    </message>
    <message id="170">
        <source>Богатый щуп</source>
        <translation>Rich probe</translation>
    </message>
    <message id="171">
        <source>Убогий щуп</source>
        <translation>Lean probe</translation>
    </message>
    <message id="172">
        <source>Ошибка щупа</source>
        <translation>Probe error</translation>
    </message>
    <message id="173">
        <source>Холодный щуп</source>
        <translation>Cold probe</translation>
    </message>
    <message id="201">
        <source>Описание</source>
        <translation>Description</translation>
    </message>
    <message id="202">
        <source>Параметр :</source>
        <translation>Parameter :</translation>
    </message>
    <message id="203">
        <source>Величина :</source>
        <translation>Value :</translation>
    </message>
    <message id="204">
        <source>Диаграмма :</source>
        <translation>Chart :</translation>
    </message>
    <message id="205">
        <source>Преобразователь :</source>
        <translation>Converter :</translation>
    </message>
    <message id="206">
        <source>Напряжение :</source>
        <translation>Voltage :</translation>
    </message>
    <message id="207">
        <source>Диаграмма :</source>
        <translation>Chart :</translation>
    </message>
    <message id="210">
        <source>Обороты</source>
        <translation>Engine speed</translation>
    </message>
    <message id="211">
        <source>Щуп</source>
        <translation>Probe</translation>
    </message>
    <message id="212">
        <source>Симуляция</source>
        <translation>Simulation</translation>
    </message>
    <message id="213">
        <source>Минимум щупа</source>
        <translation>Probe minimum</translation>
    </message>
    <message id="214">
        <source>Максимум щупа</source>
        <translation>Probe maximum</translation>
    </message>
    <message id="215">
        <source>Имппульсы  впрыска</source>
        <translation>Injection pulses</translation>
    </message>
    <message id="216">
        <source>TPS</source>
        <translation>TPS</translation>
    </message>
    <message id="217">
        <source>Минимум TPS</source>
        <translation>TPS minimum</translation>
    </message>
    <message id="218">
        <source>Максимум TPS</source>
        <translation>TPS maximum</translation>
    </message>
    <message id="219">
        <source>Мотор</source>
        <translation>Motor</translation>
    </message>
    <message id="221">
        <source>Мотор 2</source>
        <translation>Motor 2</translation>
    </message>
    <message id="223">
        <source>Уровень газа</source>
        <translation>Gas level</translation>
    </message>
    <message id="224">
        <source>Температура</source>
        <translation>Temperature</translation>
    </message>
    <message id="225">
        <source>Разрежение</source>
        <translation>Vacuum</translation>
    </message>
    <message id="226">
        <source>Включатель зажигания</source>
        <translation>Ignition switch</translation>
    </message>
    <message id="227">
        <source>Аккумулятор</source>
        <translation>Battery</translation>
    </message>
    <message id="228">
        <source>Ram</source>
        <translation>Ram</translation>
    </message>
    <message id="229">
        <source>Время впрыска</source>
        <translation>Injection time</translation>
    </message>
    <message id="300">
        <source>Параметр :</source>
        <translation>Parameter :</translation>
    </message>
    <message id="301">
        <source>Величина :</source>
        <translation>Value :</translation>
    </message>
    <message id="302">
        <source>Последовательный  файл</source>
        <translation>Serial  port</translation>
    </message>
    <message id="303">
        <source>  Автопоиски</source>
        <translation>  Auto search</translation>
    </message>
    <message id="304">
        <source>Название  файла</source>
        <translation>File  name</translation>
    </message>
    <message id="305">
        <source>  Автозапись</source>
        <translation>  Auto save</translation>
    </message>
    <message id="306">
        <source>Список параметров</source>
        <translation>Parameter list</translation>
    </message>
    <message id="307">
        <source>Шрифт</source>
        <translation>Font</translation>
    </message>
    <message id="308">
        <source>Язык</source>
        <translation>Language</translation>
    </message>
    <message id="320">
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message id="321">
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message id="322">
        <source>по функции</source>
        <translation>by function</translation>
    </message>
    <message id="323">
        <source>по типу</source>
        <translation>by type</translation>
    </message>
    <message id="360">
        <source>Файл :</source>
        <translation>File :</translation>
    </message>
    <message id="361">
        <source>Состояние :</source>
        <translation>State :</translation>
    </message>
    <message id="362">
        <source>Б.0 Мотор ЕН</source>
        <translation>B.0 Motor EN</translation>
    </message>
    <message id="363">
        <source>Б.1 Мотор Д</source>
        <translation>B.1 Motor D</translation>
    </message>
    <message id="364">
        <source>Б.2 Мотор Ц</source>
        <translation>B.2 Motor C</translation>
    </message>
    <message id="365">
        <source>Б.3 Мотор Б</source>
        <translation>B.3 Motor B</translation>
    </message>
    <message id="366">
        <source>Б.4 Мотор А</source>
        <translation>B.4 Motor A</translation>
    </message>
    <message id="367">
        <source>Б.5 Тип Темп</source>
        <translation>B.5 Temp type</translation>
    </message>
    <message id="368">
        <source>Б.6 PWM</source>
        <translation>B.6 PWM</translation>
    </message>
    <message id="369">
        <source>Б.7 LEDgaz</source>
        <translation>B.7 LEDgaz</translation>
    </message>
    <message id="370">
        <source>Ц.0  Тип катушки</source>
        <translation>C.0  Coil type</translation>
    </message>
    <message id="371">
        <source>Ц.1</source>
        <translation>C.1</translation>
    </message>
    <message id="372">
        <source>Ц.2</source>
        <translation>C.2</translation>
    </message>
    <message id="373">
        <source>Ц.3</source>
        <translation>C.3</translation>
    </message>
    <message id="374">
        <source>Ц.4 Led красный</source>
        <translation>C.4 Led red</translation>
    </message>
    <message id="375">
        <source>Ц.5 Led зелёный</source>
        <translation>C.5 Led green</translation>
    </message>
    <message id="376">
        <source>Ц.6 Тип щупа</source>
        <translation>C.6 Probe type</translation>
    </message>
    <message id="377">
        <source>Ц.7 Тип щупа</source>
        <translation>C.7 Probe type</translation>
    </message>
    <message id="378">
        <source>Д.0 <byte value="xc"/>s28 RXD</source>
        <translation>D.0 <byte value="xc"/>s28 RXD</translation>
    </message>
    <message id="379">
        <source>Д.1 <byte value="xc"/>s28 TXD</source>
        <translation>D.1 <byte value="xc"/>s28 TXD</translation>
    </message>
    <message id="380">
        <source>Д.2  Переключатель</source>
        <translation>D.2  Switch</translation>
    </message>
    <message id="381">
        <source>Д.3 Импульсы  катушки</source>
        <translation>D.3 Coil  pulses</translation>
    </message>
    <message id="382">
        <source>Д.4 Симуляция</source>
        <translation>D.4 Simulation</translation>
    </message>
    <message id="383">
        <source>Д.5 Симуляция</source>
        <translation>D.5 Simulation</translation>
    </message>
    <message id="384">
        <source>Д.6 PU впрыска</source>
        <translation>D.6 PU injection</translation>
    </message>
    <message id="385">
        <source>Д.7 PU газа</source>
        <translation>D.7 PU gas</translation>
    </message>
    <message id="388">
        <source>Программирование</source>
        <translation>Programming</translation>
    </message>
    <message id="389">
        <source>Описание</source>
        <translation>Description</translation>
    </message>
    <message id="402">
        <source>Дефекты питания</source>
        <translation>Power faults</translation>
    </message>
    <message id="403">
        <source>  ЛИКВИДИРУЙ</source>
        <translation>  CLEAR</translation>
    </message>
    <message id="404">
        <source>Ошибка щупа</source>
        <translation>Probe error</translation>
    </message>
    <message id="405">
        <source>Ошибка TPS</source>
        <translation>TPS error</translation>
    </message>
    <message id="406">
        <source>Ошибка данных</source>
        <translation>Data error</translation>
    </message>
    <message id="407">
        <source>Ошибка памяти</source>
        <translation>Memory error</translation>
    </message>
    <message id="408">
        <source>Ошибка MAP</source>
        <translation>MAP error</translation>
    </message>
    <message id="410">
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message id="411">
        <source> УСТАНОВИ</source>
        <translation> SET</translation>
    </message>
    <message id="413">
        <source>Тип катушки</source>
        <translation>Coil type</translation>
    </message>
    <message id="414">
        <source>  Сигнал катушки</source>
        <translation>  Coil signal</translation>
    </message>
    <message id="415">
        <source> 4 цилиндра</source>
        <translation> 4 cylinders</translation>
    </message>
    <message id="416">
        <source>5 цилиндров</source>
        <translation>5 cylinders</translation>
    </message>
    <message id="417">
        <source>6 цилиндров</source>
        <translation>6 cylinders</translation>
    </message>
    <message id="418">
        <source>8 цилиндров</source>
        <translation>8 cylinders</translation>
    </message>
    <message id="419">
        <source>Катушка на 2 цил.</source>
        <translation>Coil for 2 cyl.</translation>
    </message>
    <message id="420">
        <source>Катушка на 1 цил.</source>
        <translation>Coil for 1 cyl.</translation>
    </message>
    <message id="421">
        <source>3 цилиндра</source>
        <translation>3 cylinders</translation>
    </message>
    <message id="425">
        <source>Тип TPS</source>
        <translation>TPS type</translation>
    </message>
    <message id="427">
        <source>0-5V</source>
        <translation>0-5V</translation>
    </message>
    <message id="428">
        <source>5-0V</source>
        <translation>5-0V</translation>
    </message>
    <message id="429">
        <source>Переключатель</source>
        <translation>Switch</translation>
    </message>
    <message id="430">
        <source>Переключатель отвернутый</source>
        <translation>Switch reversed</translation>
    </message>
    <message id="431">
        <source>Отсутствие</source>
        <translation>None</translation>
    </message>
    <message id="432">
        <source>0-12V</source>
        <translation>0-12V</translation>
    </message>
    <message id="435">
        <source>   Порог TPS</source>
        <translation>   TPS threshold</translation>
    </message>
    <message id="436">
        <source>  Порог TPS</source>
        <translation>  TPS threshold</translation>
    </message>
    <message id="440">
        <source>Тип щупа</source>
        <translation>Probe type</translation>
    </message>
    <message id="442">
        <source>0-1V</source>
        <translation>0-1V</translation>
    </message>
    <message id="443">
        <source>0-5V</source>
        <translation>0-5V</translation>
    </message>
    <message id="444">
        <source>5-0V</source>
        <translation>5-0V</translation>
    </message>
    <message id="445">
        <source>0.8-1.6V</source>
        <translation>0.8-1.6V</translation>
    </message>
    <message id="446">
        <source>Отсутствие</source>
        <translation>None</translation>
    </message>
    <message id="450">
        <source>   Холодный щуп</source>
        <translation>   Cold probe</translation>
    </message>
    <message id="451">
        <source>  Холодный щуп</source>
        <translation>  Cold probe</translation>
    </message>
    <message id="452">
        <source>   Щуп</source>
        <translation>   Probe input</translation>
    </message>
    <message id="453">
        <source>  Щуп</source>
        <translation>  Probe input</translation>
    </message>
    <message id="454">
        <source>Стандарт</source>
        <translation>Standard</translation>
    </message>
    <message id="455">
        <source>Безреактивный</source>
        <translation>High-impedance</translation>
    </message>
    <message id="456">
        <source>(-) Безреактивный</source>
        <translation>(-) High-impedance</translation>
    </message>
    <message id="457">
        <source>(+) Безреактивный</source>
        <translation>(+) High-impedance</translation>
    </message>
    <message id="459">
        <source>  Сосание</source>
        <translation>  Choke</translation>
    </message>
    <message id="460">
        <source>Симуляция</source>
        <translation>Simulation</translation>
    </message>
    <message id="461">
        <source>  Симуляция</source>
        <translation>  Simulation</translation>
    </message>
    <message id="462">
        <source>Масса</source>
        <translation>Ground</translation>
    </message>
    <message id="463">
        <source>Собственная</source>
        <translation>Own</translation>
    </message>
    <message id="464">
        <source>Отключён</source>
        <translation>Off</translation>
    </message>
    <message id="465">
        <source>Типичный</source>
        <translation>Typical</translation>
    </message>
    <message id="466">
        <source>Авто</source>
        <translation>Auto</translation>
    </message>
    <message id="470">
        <source>   Время HI</source>
        <translation>   Time HI</translation>
    </message>
    <message id="471">
        <source>   Время LO</source>
        <translation>   Time LO</translation>
    </message>
    <message id="472">
        <source>   Время выкл.</source>
        <translation>   Time off</translation>
    </message>
    <message id="473">
        <source>   Импульсы</source>
        <translation>   Pulses</translation>
    </message>
    <message id="475">
        <source>Тип переключения</source>
        <translation>Switch-over type</translation>
    </message>
    <message id="476">
        <source>Обороты + TPS</source>
        <translation>Speed + TPS</translation>
    </message>
    <message id="477">
        <source>Обороты вверх</source>
        <translation>Speed rising</translation>
    </message>
    <message id="478">
        <source>Обороты вниз</source>
        <translation>Speed falling</translation>
    </message>
    <message id="479">
        <source>Время выключения</source>
        <translation>Switch-off time</translation>
    </message>
    <message id="480">
        <source>Время переключения</source>
        <translation>Switch-over time</translation>
    </message>
    <message id="481">
        <source>Темп. переключения</source>
        <translation>Switch-over temp.</translation>
    </message>
    <message id="482">
        <source>   Температура</source>
        <translation>   Temperature</translation>
    </message>
    <message id="483">
        <source>Обороты переключения</source>
        <translation>Switch-over speed</translation>
    </message>
    <message id="484">
        <source>Максим. обороты газа</source>
        <translation>Gas speed limit</translation>
    </message>
    <message id="490">
        <source>Реле</source>
        <translation>Relay</translation>
    </message>
    <message id="491">
        <source>Эмуляция впрысков</source>
        <translation>Injection emulation</translation>
    </message>
    <message id="492">
        <source>Ликвидирование памяти</source>
        <translation>Memory erasing</translation>
    </message>
    <message id="495">
        <source>Показания уровня</source>
        <translation>Level reading</translation>
    </message>
    <message id="496">
        <source>90 ом  снижающийся</source>
        <translation>90 ohm falling</translation>
    </message>
    <message id="497">
        <source>90 ом растущий</source>
        <translation>90 ohm rising</translation>
    </message>
    <message id="498">
        <source>50 килоом снижающийся</source>
        <translation>50 kilohm falling</translation>
    </message>
    <message id="499">
        <source>50 килоом растущий</source>
        <translation>50 kilohm rising</translation>
    </message>
    <message id="500">
        <source>   1/4</source>
        <translation>   1/4</translation>
    </message>
    <message id="501">
        <source>   2/4</source>
        <translation>   2/4</translation>
    </message>
    <message id="502">
        <source>   3/4</source>
        <translation>   3/4</translation>
    </message>
    <message id="503">
        <source>   4/4</source>
        <translation>   4/4</translation>
    </message>
    <message id="504">
        <source>  Резерв уровня газа</source>
        <translation>  Gas level reserve</translation>
    </message>
    <message id="505">
        <source>Поз. максим. мотора</source>
        <translation>Motor max. pos.</translation>
    </message>
    <message id="506">
        <source>Поз. для 3000 обор</source>
        <translation>Pos. for 3000 rpm</translation>
    </message>
    <message id="507">
        <source>Поз. для 900 обор</source>
        <translation>Pos. for 900 rpm</translation>
    </message>
    <message id="508">
        <source>Поз. миним. мотора</source>
        <translation>Motor min. pos.</translation>
    </message>
    <message id="509">
        <source>Сосание</source>
        <translation>Choke</translation>
    </message>
    <message id="510">
        <source>Опцион открытия</source>
        <translation>Opening option</translation>
    </message>
    <message id="511">
        <source>  Опцион открытия</source>
        <translation>  Opening option</translation>
    </message>
    <message id="512">
        <source>   Порог TPS</source>
        <translation>   TPS threshold</translation>
    </message>
    <message id="513">
        <source>   Мотор на поз.</source>
        <translation>   Motor to pos.</translation>
    </message>
    <message id="514">
        <source>   Скорость мотора</source>
        <translation>   Motor speed</translation>
    </message>
    <message id="515">
        <source>    Порог TPS</source>
        <translation>    TPS threshold</translation>
    </message>
    <message id="516">
        <source>    Мотор на поз.</source>
        <translation>    Motor to pos.</translation>
    </message>
    <message id="517">
        <source>    Скорость мотора</source>
        <translation>    Motor speed</translation>
    </message>
    <message id="520">
        <source>Опцион CUT-OFF</source>
        <translation>CUT-OFF option</translation>
    </message>
    <message id="521">
        <source>  Опцион CUT-OFF</source>
        <translation>  CUT-OFF option</translation>
    </message>
    <message id="522">
        <source>   Порог оборотов</source>
        <translation>   Speed threshold</translation>
    </message>
    <message id="523">
        <source>   Мотор на поз.</source>
        <translation>   Motor to pos.</translation>
    </message>
    <message id="524">
        <source>   Скорость мотора</source>
        <translation>   Motor speed</translation>
    </message>
    <message id="525">
        <source>    Порог оборотов</source>
        <translation>    Speed threshold</translation>
    </message>
    <message id="526">
        <source>    Мотор на поз.</source>
        <translation>    Motor to pos.</translation>
    </message>
    <message id="527">
        <source>    Скорость  мотора</source>
        <translation>    Motor speed</translation>
    </message>
    <message id="530">
        <source>Рег. от TPS</source>
        <translation>TPS regulation</translation>
    </message>
    <message id="531">
        <source>  Рег. от TPS</source>
        <translation>  TPS regulation</translation>
    </message>
    <message id="532">
        <source>   Гистерезис TPS</source>
        <translation>   TPS hysteresis</translation>
    </message>
    <message id="533">
        <source>   Обогащение</source>
        <translation>   Enrichment</translation>
    </message>
    <message id="534">
        <source>   Обеднение</source>
        <translation>   Leaning</translation>
    </message>
    <message id="535">
        <source>   Скорость мотора</source>
        <translation>   Motor speed</translation>
    </message>
    <message id="536">
        <source>    Гистерезис</source>
        <translation>    TPS hysteresis</translation>
    </message>
    <message id="537">
        <source>    Обогащение</source>
        <translation>    Enrichment</translation>
    </message>
    <message id="538">
        <source>    Обеднение</source>
        <translation>    Leaning</translation>
    </message>
    <message id="539">
        <source>    Скорость мотора</source>
        <translation>    Motor speed</translation>
    </message>
    <message id="540">
        <source>Рег. от щупа</source>
        <translation>Probe regulation</translation>
    </message>
    <message id="541">
        <source>  Рег от щупа</source>
        <translation>  Probe regulation</translation>
    </message>
    <message id="542">
        <source>   Порог щупа</source>
        <translation>   Probe threshold</translation>
    </message>
    <message id="543">
        <source>   Скорость мотора</source>
        <translation>   Motor speed</translation>
    </message>
    <message id="544">
        <source>    Порог щупа</source>
        <translation>    Probe threshold</translation>
    </message>
    <message id="545">
        <source>    Скорость мотора</source>
        <translation>    Motor speed</translation>
    </message>
    <message id="546">
        <source>Рег. от оборотов</source>
        <translation>Speed regulation</translation>
    </message>
    <message id="547">
        <source>    Скорость мотора</source>
        <translation>    Motor speed</translation>
    </message>
    <message id="550">
        <source>Предполагаемые параметры</source>
        <translation>Estimated parameters</translation>
    </message>
    <message id="552">
        <source> ЛИКВИДИРУЙ</source>
        <translation> CLEAR</translation>
    </message>
    <message id="555">
        <source>НЕТ</source>
        <translation>NO</translation>
    </message>
    <message id="556">
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message id="570">
        <source>Тип разрежения</source>
        <translation>Vacuum type</translation>
    </message>
    <message id="571">
        <source>Отсутствие</source>
        <translation>None</translation>
    </message>
    <message id="572">
        <source>0-2V</source>
        <translation>0-2V</translation>
    </message>
    <message id="573">
        <source>0-5V</source>
        <translation>0-5V</translation>
    </message>
    <message id="574">
        <source>Рег. от разрежения</source>
        <translation>Vacuum regulation</translation>
    </message>
    <message id="575">
        <source>  Рег. от разрежения</source>
        <translation>  Vacuum regulation</translation>
    </message>
    <message id="576">
        <source>   Обогащение</source>
        <translation>   Enrichment</translation>
    </message>
    <message id="577">
        <source>   Обеднение</source>
        <translation>   Leaning</translation>
    </message>
    <message id="578">
        <source>   Скорость мотора</source>
        <translation>   Motor speed</translation>
    </message>
    <message id="579">
        <source>    Обогащение</source>
        <translation>    Enrichment</translation>
    </message>
    <message id="580">
        <source>    Обеднение</source>
        <translation>    Leaning</translation>
    </message>
    <message id="581">
        <source>    Скорость мотора</source>
        <translation>    Motor speed</translation>
    </message>
    <message id="590">
        <source>Снижающийся</source>
        <translation>Falling</translation>
    </message>
    <message id="591">
        <source>Растущий</source>
        <translation>Rising</translation>
    </message>
    <message id="592">
        <source>Разгерметизация</source>
        <translation>Leak detection</translation>
    </message>
    <message id="700">
        <source> MERVOLANTE !</source>
        <translation> MERVOLANTE !</translation>
    </message>
    <message id="701">
        <source> Плохое расширение названия файла</source>
        <translation> Wrong file name extension</translation>
    </message>
    <message id="702">
        <source> Нельзя открыть файл</source>
        <translation> Cannot open file</translation>
    </message>
    <message id="703">
        <source> Ошибочные данные</source>
        <translation> Wrong data</translation>
    </message>
    <message id="704">
        <source> Занести ли параметры из файла в командоконтроллер ?
<byte value="xd"/>  Да - прочитай файл и запиши в командоконтроллер
<byte value="xd"/> Нет - разъедини командоконтроллер  и прочитай файл</source>
        <translation> Load the parameters from the file into the controller ?
<byte value="xd"/>  Yes - read the file and write it to the controller
<byte value="xd"/> No - disconnect the controller and read the file</translation>
    </message>
    <message id="705">
        <source> Установить ли фабричные параметрыкомандоконтроллера ?
<byte value="xd"/> Это повлечёт за собой потерю актуальных установок!</source>
        <translation> Set the controller&apos;s factory parameters ?
<byte value="xd"/> The current settings will be lost!</translation>
    </message>
    <message id="720">
        <source>Закрытие СОМ</source>
        <translation>Closing COM</translation>
    </message>
    <message id="721">
        <source>Открытие СОМ</source>
        <translation>Opening COM</translation>
    </message>
    <message id="722">
        <source> Ошибка</source>
        <translation> Error</translation>
    </message>
    <message id="723">
        <source> ОК</source>
        <translation> OK</translation>
    </message>
    <message id="724">
        <source>Отсутствие  связи</source>
        <translation>No  connection</translation>
    </message>
    <message id="725">
        <source>Показания командоконтроллера</source>
        <translation>Controller readings</translation>
    </message>
    <message id="730">
        <source> Нельзя автоматически записать файл </source>
        <translation> Cannot save the file automatically </translation>
    </message>
    <message id="740">
        <source> Применить ли новые параметры  автоконфигурации ? </source>
        <translation> Apply the new auto-configuration parameters ? </translation>
    </message>
    <message id="741">
        <source>
<byte value="xd"/> Для правильного обслуживания этого командоконтроллера
<byte value="xd"/> требуется новейшая  версия  программы
<byte value="xd"/>  минимум V</source>
        <translation>
<byte value="xd"/> This controller needs the newest version
<byte value="xd"/> of the program to be served correctly
<byte value="xd"/>  at least V</translation>
    </message>
    <message id="742">
        <source>  Один из опционов регулировки от щупа или оборотов должен быть включён .  </source>
        <translation>  One of the probe or speed regulation options must be on .  </translation>
    </message>
    <message id="743">
        <source>
<byte value="xd"/>  Величины позиции шагового двигателя  - кажутся быть неправильными (рекомендуются растущие величины) .  </source>
        <translation>
<byte value="xd"/>  The stepper motor position values - seem to be wrong (rising values are recommended) .  </translation>
    </message>
    <message id="744">
        <source>
<byte value="xd"/>  Величины оборотов переключения нагаз - кажутся быть неправильными (рекомендуется диапазон 1000 - 3000) .  </source>
        <translation>
<byte value="xd"/>  The gas switch-over speed values - seem to be wrong (a range of 1000 - 3000 is recommended) .  </translation>
    </message>
    <message id="745">
        <source>
<byte value="xd"/>  Величины максимальных оборотов на газе должны превышать величины оборотов переключения на газ .  </source>
        <translation>
<byte value="xd"/>  The gas speed limit must be above the gas switch-over speed .  </translation>
    </message>
    <message id="746">
        <source>
<byte value="xd"/>  Величины порога щупа - кажутся быть неправильными .  </source>
        <translation>
<byte value="xd"/>  The probe threshold values - seem to be wrong .  </translation>
    </message>
    <message id="760">
        <source>Старт автоконфигурации на бензине0 </source>
        <translation>Start of the auto-configuration on petrol </translation>
    </message>
    <message id="761">
        <source>        [БЕНЗИН]</source>
        <translation>        [PETROL]</translation>
    </message>
    <message id="762">
        <source>Старт автоконфигурации на газе</source>
        <translation>Start of the auto-configuration on gas</translation>
    </message>
    <message id="763">
        <source>        [ГАЗ]</source>
        <translation>        [GAS]</translation>
    </message>
    <message id="764">
        <source>  Установи ход работы на БЕНЗИН</source>
        <translation>  Set the operating mode to PETROL</translation>
    </message>
    <message id="765">
        <source>  Запусти двигатель</source>
        <translation>  Start the engine</translation>
    </message>
    <message id="766">
        <source>  Сохраняй малые обороты</source>
        <translation>  Keep the engine speed low</translation>
    </message>
    <message id="767">
        <source>  Медленно перейди к 3000 обор./мин</source>
        <translation>  Slowly go up to 3000 rpm</translation>
    </message>
    <message id="768">
        <source>  [Продолжай] - конфигурация на газе</source>
        <translation>  [Continue] - configuration on gas</translation>
    </message>
    <message id="769">
        <source>  [ Примени ] - запиши установки</source>
        <translation>  [ Apply ] - write the settings</translation>
    </message>
    <message id="770">
        <source>  [Аннулируй] - опусти установки</source>
        <translation>  [Cancel] - drop the settings</translation>
    </message>
    <message id="771">
        <source> Переключить ли ход работы  командоконтроллера ?</source>
        <translation> Switch the controller&apos;s operating mode ?</translation>
    </message>
    <message id="774">
        <source>  Установи ход работы на АВТО</source>
        <translation>  Set the operating mode to AUTO</translation>
    </message>
    <message id="775">
        <source>  Запусти двигатель</source>
        <translation>  Start the engine</translation>
    </message>
    <message id="776">
        <source>  Увеличь  обороты чтобы перейти на ГАЗ</source>
        <translation>  Raise the engine speed to switch over to GAS</translation>
    </message>
    <message id="777">
        <source>  Установи двигатель на малых оборотах</source>
        <translation>  Let the engine idle</translation>
    </message>
    <message id="778">
        <source>  Сохрани 3000 обор/мин</source>
        <translation>  Hold 3000 rpm</translation>
    </message>
    <message id="779">
        <source>  [ Примени ] - запиши установки</source>
        <translation>  [ Apply ] - write the settings</translation>
    </message>
    <message id="780">
        <source>  [Аннулируй] - опусти установки</source>
        <translation>  [Cancel] - drop the settings</translation>
    </message>
    <message id="781">
        <source>  и отрегулируй редуктор, чтобы шаговой  двигатель</source>
        <translation>  and adjust the reducer so that the stepper motor</translation>
    </message>
    <message id="782">
        <source>  [работал в пределе 60-80 шагов</source>
        <translation>  [works within 60-80 steps</translation>
    </message>
    <message id="783">
        <source>  [Продолжай] - подтверди выполненеие</source>
        <translation>  [Continue] - confirm it is done</translation>
    </message>
    <message id="784">
        <source>КОНФИГУРАЦИЯ НА БЕНЗИНЕ</source>
        <translation>CONFIGURATION ON PETROL</translation>
    </message>
    <message id="785">
        <source>КОНФИГУРАЦИЯ НА ГАЗЕ</source>
        <translation>CONFIGURATION ON GAS</translation>
    </message>
    <message id="900">
        <source>Программирование !</source>
        <translation>Programming !</translation>
    </message>
    <message id="901">
        <source>   Начать ли запись программирования ? 
<byte value="xd"/></source>
        <translation>   Start the programming ? 
<byte value="xd"/></translation>
    </message>
    <message id="902">
        <source>Чтение файла : </source>
        <translation>Reading file : </translation>
    </message>
    <message id="903">
        <source>Время до окончания : </source>
        <translation>Time left : </translation>
    </message>
    <message id="909">
        <source>   Программирование прервано ! Нет связи ! 
<byte value="xd"/></source>
        <translation>   Programming interrupted ! No connection ! 
<byte value="xd"/></translation>
    </message>
    <message id="910">
        <source>   Программирование окончено ошибкой ! 
<byte value="xd"/></source>
        <translation>   Programming ended with an error ! 
<byte value="xd"/></translation>
    </message>
    <message id="911">
        <source>   Программирование окончено удачно . 
<byte value="xd"/></source>
        <translation>   Programming ended successfully . 
<byte value="xd"/></translation>
    </message>
    <message id="920">
        <source>        Ошибка программирования !        </source>
        <translation>        Programming error !        </translation>
    </message>
    <message id="921">
        <source>
<byte value="xd"/> Последнее программирование не окончено .</source>
        <translation>
<byte value="xd"/> The last programming was not finished .</translation>
    </message>
    <message id="922">
        <source>
<byte value="xd"/> Последнее программирование окончено ошибкой .</source>
        <translation>
<byte value="xd"/> The last programming ended with an error .</translation>
    </message>
    <message id="923">
        <source>
<byte value="xd"/> Ошибка контрольных сумм .</source>
        <translation>
<byte value="xd"/> Checksum error .</translation>
    </message>
    <message id="924">
        <source>
<byte value="xd"/> Отсутствие контрольных сумм .</source>
        <translation>
<byte value="xd"/> No checksums .</translation>
    </message>
    <message id="930">
        <source>Помощь [F1]</source>
        <translation>Help [F1]</translation>
    </message>
    <message id="931">
        <source>Открывает окно помощи
<byte value="xd"/> используйтакже клавишу [F1]</source>
        <translation>Opens the help window
<byte value="xd"/> also use the key [F1]</translation>
    </message>
    <message id="1220">
        <source>Воспроизвести историю [Ctrl+P]</source>
        <translation>Play the history back [Ctrl+P]</translation>
    </message>
    <message id="1221">
        <source>Пауза [Ctrl+P]</source>
        <translation>Pause [Ctrl+P]</translation>
    </message>
    <message id="1222">
        <source>Скорость воспроизведения</source>
        <translation>Playback speed</translation>
    </message>
    <message id="1223">
        <source>×1</source>
        <translation>×1</translation>
    </message>
    <message id="1224">
        <source>×4</source>
        <translation>×4</translation>
    </message>
    <message id="1225">
        <source>×16</source>
        <translation>×16</translation>
    </message>
    <message id="1230">
        <source>Файл не отличается от параметров командоконтроллера</source>
        <translation>The file does not differ from the controller&apos;s parameters</translation>
    </message>
    <message id="1231">
        <source>Байты без строки в списке (номер: командоконтроллер → файл): </source>
        <translation>Bytes without a row in the list (number: controller → file): </translation>
    </message>
    <message id="1232">
        <source> Параметры из файла: байт к записи в командоконтроллер: </source>
        <translation> Parameters from the file: bytes to write to the controller: </translation>
    </message>
    <message id="1240">
        <source> Не записано в командоконтроллер: </source>
        <translation> Not written to the controller: </translation>
    </message>
    <message id="1241">
        <source> Записываю снова в командоконтроллер: </source>
        <translation> Writing again to the controller: </translation>
    </message>
    <message id="1242">
        <source> Эти изменения не дошли до командоконтроллера и не записаны:</source>
        <translation> These changes did not reach the controller and are not written:</translation>
    </message>
    <message id="1243">
        <source>Ошибки</source>
        <translation>Errors</translation>
    </message>
    <message id="1244">
        <source>Файл другой модели или версии командоконтроллера: </source>
        <translation>File of another controller model or version: </translation>
    </message>
    <message id="1245">
        <source>Резервная копия параметров: </source>
        <translation>Parameter backup: </translation>
    </message>
    <message id="1246">
        <source>Резервная копия параметров не записана: </source>
        <translation>Parameter backup not written: </translation>
    </message>
    <message id="1250">
        <source>файл визуализации (*.orvv)|*.orvv|файл параметров  (*.orvp)|*.orvp</source>
        <translation>recording file (*.orvv)|*.orvv|parameter file  (*.orvp)|*.orvp</translation>
    </message>
    <message id="1251">
        <source>файл визуализации  (*.orvv)|*.orvv|файл параметров (*.orvp)|*.orvp|(*.*)|*.*</source>
        <translation>recording file  (*.orvv)|*.orvv|parameter file (*.orvp)|*.orvp|(*.*)|*.*</translation>
    </message>
    <message id="1300">
        <source>нет места на диске</source>
        <translation>no space left on the disk</translation>
    </message>
    <message id="1301">
        <source>превышена квота диска</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message id="1302">
        <source>нет доступа</source>
        <translation>access denied</translation>
    </message>
    <message id="1303">
        <source>диск только для чтения</source>
        <translation>read-only disk</translation>
    </message>
    <message id="1304">
        <source>нет такого файла или папки</source>
        <translation>no such file or folder</translation>
    </message>
    <message id="1305">
        <source>это папка, а не файл</source>
        <translation>this is a folder, not a file</translation>
    </message>
    <message id="1306">
        <source>файл слишком большой</source>
        <translation>file too large</translation>
    </message>
    <message id="1307">
        <source>ошибка чтения или записи на диске</source>
        <translation>disk read or write error</translation>
    </message>
    <message id="1308">
        <source>занято другой программой</source>
        <translation>in use by another program</translation>
    </message>
    <message id="1309">
        <source>нет такого устройства</source>
        <translation>no such device</translation>
    </message>
    <message id="1310">
        <source>файл уже существует</source>
        <translation>file already exists</translation>
    </message>
    <message id="1311">
        <source>слишком длинное название</source>
        <translation>name too long</translation>
    </message>
    <message id="1312">
        <source>системная ошибка </source>
        <translation>system error </translation>
    </message>
    <message id="1313">
        <source>это не обычный файл</source>
        <translation>this is not a regular file</translation>
    </message>
    <message id="1320">
        <source> Настройки не прочитаны и при выходе не будут записаны: </source>
        <translation> Settings not read; they will not be written at exit: </translation>
    </message>
    <message id="1321">
        <source> Настройки не записаны, прежний файл остался: </source>
        <translation> Settings not written, the previous file stays: </translation>
    </message>
    <message id="1330">
        <source> Порт </source>
        <translation> Port </translation>
    </message>
    <message id="1331">
        <source>: нет такого устройства - проверь кабель и выбранный порт</source>
        <translation>: no such device - check the cable and the chosen port</translation>
    </message>
    <message id="1332">
        <source>: порт занят другой программой</source>
        <translation>: the port is in use by another program</translation>
    </message>
    <message id="1333">
        <source>: нет доступа - добавь пользователя в группу dialout (sudo usermod -aG dialout ИМЯ) и войди снова</source>
        <translation>: access denied - add the user to the dialout group (sudo usermod -aG dialout NAME) and log in again</translation>
    </message>
    <message id="1334">
        <source>: нет доступа - устройство принадлежит группе </source>
        <translation>: access denied - the device belongs to the group </translation>
    </message>
    <message id="1335">
        <source>: </source>
        <translation>: </translation>
    </message>
    <message id="1340">
        <source>нет устройства</source>
        <translation>no device</translation>
    </message>
    <message id="1350">
        <source>Использование:</source>
        <translation>Usage:</translation>
    </message>
    <message id="1351">
        <source>открыть файл параметров (.orvp) или визуализации (.orvv)</source>
        <translation>open a parameter file (.orvp) or a recording file (.orvv)</translation>
    </message>
    <message id="1352">
        <source>записывать обмен по линии в файл</source>
        <translation>write the traffic on the line to a file</translation>
    </message>
    <message id="1353">
        <source>устройство каждого из портов COM1..COM4</source>
        <translation>the device of each of the ports COM1..COM4</translation>
    </message>
    <message id="1354">
        <source>визуализация в виде CSV</source>
        <translation>recording as CSV</translation>
    </message>
    <message id="1355">
        <source>строки параметров, которые отличаются</source>
        <translation>parameter rows that differ</translation>
    </message>
    <message id="1356">
        <source>эта справка</source>
        <translation>this help</translation>
    </message>
    <message id="1357">
        <source>версия программы</source>
        <translation>program version</translation>
    </message>
    <message id="1358">
        <source>Неизвестный параметр: </source>
        <translation>Unknown option: </translation>
    </message>
    <message id="1400">
        <source>Отчёт о настройке командоконтроллера</source>
        <translation>Controller settings report</translation>
    </message>
    <message id="1401">
        <source>Программа</source>
        <translation>Program</translation>
    </message>
    <message id="1402">
        <source>Командоконтроллер</source>
        <translation>Controller</translation>
    </message>
    <message id="1403">
        <source>Дата и время</source>
        <translation>Date and time</translation>
    </message>
    <message id="1404">
        <source>Мастерская</source>
        <translation>Workshop</translation>
    </message>
    <message id="1405">
        <source>Номер автомобиля / VIN</source>
        <translation>Registration / VIN</translation>
    </message>
    <message id="1407">
        <source>Отличия от фабричных параметров (фабричное → сейчас):</source>
        <translation>Differences from the factory parameters (factory → now):</translation>
    </message>
    <message id="1408">
        <source>Фабричные параметры этого командоконтроллера неизвестны</source>
        <translation>The factory parameters of this controller are not known</translation>
    </message>
    <message id="1409">
        <source>Отличия от последней резервной копии (копия → сейчас):</source>
        <translation>Differences from the newest backup (backup → now):</translation>
    </message>
    <message id="1410">
        <source>Резервной копии этого командоконтроллера нет</source>
        <translation>There is no backup of this controller</translation>
    </message>
    <message id="1411">
        <source>Отчёт о параметрах в PDF [Ctrl+R]</source>
        <translation>Parameter report as PDF [Ctrl+R]</translation>
    </message>
    <message id="1412">
        <source>Запиши отчёт о параметрах</source>
        <translation>Save the parameter report</translation>
    </message>
    <message id="1413">
        <source>Печать...</source>
        <translation>Print...</translation>
    </message>
    <message id="1414">
        <source>Записать PDF...</source>
        <translation>Save PDF...</translation>
    </message>
    <message id="1415">
        <source>Нет параметров для отчёта: прочитай командоконтроллер или открой файл параметров</source>
        <translation>No parameters for a report: read the controller or open a parameter file</translation>
    </message>
    <message id="1416">
        <source>Отчёт записан: </source>
        <translation>Report written: </translation>
    </message>
    <message id="1417">
        <source>Фабричные параметры для отчёта: </source>
        <translation>Factory parameters for the report: </translation>
    </message>
    <message id="1418">
        <source>Фабричные параметры для отчёта не записаны: </source>
        <translation>Factory parameters for the report not written: </translation>
    </message>
    <message id="1420">
        <source>отчёт о параметрах файла в PDF</source>
        <translation>the service report of a parameter file as PDF</translation>
    </message>
    <message id="1421">
        <source>прочитать параметры командоконтроллера в файл</source>
        <translation>read the controller's parameters into a file</translation>
    </message>
    <message id="1422">
        <source>записать параметры файла в командоконтроллер</source>
        <translation>write a file's parameters into the controller</translation>
    </message>
    <message id="1423">
        <source>записать визуализацию живых данных</source>
        <translation>record the live data</translation>
    </message>
    <message id="1424">
        <source>запрограммировать командоконтроллер образом .img</source>
        <translation>program the controller with a .img image</translation>
    </message>
    <message id="1425">
        <source>порт COM1..COM4 вместо порта из настроек</source>
        <translation>port COM1..COM4 instead of the settings' port</translation>
    </message>
    <message id="1426">
        <source> Командоконтроллер не ответил</source>
        <translation> The controller did not answer</translation>
    </message>
    <message id="1427">
        <source>Записать эти параметры в командоконтроллер? [y/N] </source>
        <translation>Write these parameters into the controller? [y/N] </translation>
    </message>
    <message id="1428">
        <source> Отменено</source>
        <translation> Cancelled</translation>
    </message>
    <message id="1429">
        <source> Командоконтроллер содержит параметры файла</source>
        <translation> The controller holds the file's parameters</translation>
    </message>
    <message id="1430">
        <source> Командоконтроллер не содержит параметры файла:</source>
        <translation> The controller does not hold the file's parameters:</translation>
    </message>
    <message id="1431">
        <source> Записано: </source>
        <translation> Written: </translation>
    </message>
    <message id="1432">
        <source> Образ не подходит к этому командоконтроллеру: </source>
        <translation> The image does not fit this controller: </translation>
    </message>
    <message id="1433">
        <source> Программирование: </source>
        <translation> Programming: </translation>
    </message>
    <message id="1434">
        <source> Неверное значение: </source>
        <translation> Wrong value: </translation>
    </message>
    <message id="1435">
        <source> Живых записей: </source>
        <translation> Live records: </translation>
    </message>
    <message id="1436">
        <source>Продолжить? [y/N] </source>
        <translation>Continue? [y/N] </translation>
    </message>
    <message id="1437">
        <source> Связь с командоконтроллером потеряна</source>
        <translation> The link with the controller is lost</translation>
    </message>
</context>
</TS>
