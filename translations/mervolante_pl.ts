<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL" sourcelanguage="ru_RU">
<context>
    <name></name>
    <message id="100">
        <source>russian</source>
        <translation>polski</translation>
    </message>
    <message id="101">
        <source>RU</source>
        <translation>PL</translation>
    </message>
    <message id="102">
        <source> - Командоконтроллер газа</source>
        <translation> - Sterownik gazu</translation>
    </message>
    <message id="103">
        <source>mervolante.rtf</source>
        <translation>mervolante_pl.rtf</translation>
    </message>
    <message id="104">
        <source>Открой файл визуализации</source>
        <translation>Otwórz plik wizualizacji</translation>
    </message>
    <message id="105">
        <source>Запиши файл визуализации</source>
        <translation>Zapisz plik wizualizacji</translation>
    </message>
    <message id="106">
        <source>Открой файл параметров</source>
        <translation>Otwórz plik parametrów</translation>
    </message>
    <message id="107">
        <source>Запиши файл параметров</source>
        <translation>Zapisz plik parametrów</translation>
    </message>
    <message id="108">
        <source>- Тестер</source>
        <translation>- Tester</translation>
    </message>
    <message id="110">
        <source>Параметры</source>
        <translation>Parametry</translation>
    </message>
    <message id="111">
        <source>Конфигурация</source>
        <translation>Konfiguracja</translation>
    </message>
    <message id="112">
        <source>Установка</source>
        <translation>Ustawienia</translation>
    </message>
    <message id="113">
        <source>Карта</source>
        <translation>Mapa</translation>
    </message>
    <message id="114">
        <source>Процессор</source>
        <translation>Procesor</translation>
    </message>
    <message id="115">
        <source>Версия</source>
        <translation>Wersja</translation>
    </message>
    <message id="120">
        <source>Отсчёт файла визуализации</source>
        <translation>Odczyt pliku wizualizacji</translation>
    </message>
    <message id="121">
        <source>Запись файла визуализации</source>
        <translation>Zapis pliku wizualizacji</translation>
    </message>
    <message id="122">
        <source>Осциллоскоп</source>
        <translation>Oscyloskop</translation>
    </message>
    <message id="123">
        <source>Основа времени</source>
        <translation>Podstawa czasu</translation>
    </message>
    <message id="124">
        <source>Градиент</source>
        <translation>Siatka</translation>
    </message>
    <message id="125">
        <source>Расположение окон</source>
        <translation>Układ okien</translation>
    </message>
    <message id="126">
        <source>Отсчёт файла параметров</source>
        <translation>Odczyt pliku parametrów</translation>
    </message>
    <message id="127">
        <source>Запись файла параметров</source>
        <translation>Zapis pliku parametrów</translation>
    </message>
    <message id="128">
        <source>Лупа</source>
        <translation>Lupa</translation>
    </message>
    <message id="129">
        <source>Отсчёт параметров командоконтроллера</source>
        <translation>Odczyt parametrów sterownika</translation>
    </message>
    <message id="130">
        <source>Запись фабричных параметров
<byte value="xd"/>      к  командоконтроллеру</source>
        <translation>Zapis parametrów fabrycznych
<byte value="xd"/>      do sterownika</translation>
    </message>
    <message id="131">
        <source>Переключает ход работы
<byte value="xd"/> используй  также клавишу [F8]</source>
        <translation>Przełącza tryb pracy
<byte value="xd"/> użyj także klawisza [F8]</translation>
    </message>
    <message id="132">
        <source>Продолжай</source>
        <translation>Dalej</translation>
    </message>
    <message id="133">
        <source>Примени</source>
        <translation>Zastosuj</translation>
    </message>
    <message id="134">
        <source>Аннулируй</source>
        <translation>Anuluj</translation>
    </message>
    <message id="135">
        <source>Читай</source>
        <translation>Czytaj</translation>
    </message>
    <message id="136">
        <source>Запиши</source>
        <translation>Zapisz</translation>
    </message>
    <message id="137">
        <source>Ликвидируй</source>
        <translation>Kasuj</translation>
    </message>
    <message id="138">
        <source>Впиши</source>
        <translation>Programuj</translation>
    </message>
    <message id="140">
        <source>СОЕДИНИ</source>
        <translation>POŁĄCZ</translation>
    </message>
    <message id="141">
        <source>ВКЛЮЧАТЕЛЬ</source>
        <translation>PRZEŁĄCZNIK</translation>
    </message>
    <message id="142">
        <source>БЕНЗИН</source>
        <translation>BENZYNA</translation>
    </message>
    <message id="143">
        <source>АВТО</source>
        <translation>AUTO</translation>
    </message>
    <message id="144">
        <source>ГАЗ</source>
        <translation>GAZ</translation>
    </message>
    <message id="145">
        <source>DUAL</source>
        <translation>DUAL</translation>
    </message>
    <message id="150">
        <source> [обор/мин]</source>
        <translation> [obr/min]</translation>
    </message>
    <message id="151">
        <source> [поз]</source>
        <translation> [poz]</translation>
    </message>
    <message id="152">
        <source> [V]</source>
        <translation> [V]</translation>
    </message>
    <message id="160">
        <source>Рег. от TPS</source>
        <translation>Reg. od TPS</translation>
    </message>
    <message id="161">
        <source>Открытие</source>
        <translation>Otwarcie</translation>
    </message>
    <message id="162">
        <source>CUT-OFF</source>
        <translation>CUT-OFF</translation>
    </message>
    <message id="163">
        <source>Рег. от RPM </source>
        <translation>Reg. od RPM </translation>
    </message>
    <message id="164">
        <source>Рег. от MAP</source>
        <translation>Reg. od MAP</translation>
    </message>
    <message id="170">
        <source>Богатый щуп</source>
        <translation>Bogata sonda</translation>
    </message>
    <message id="171">
        <source>Убогий щуп</source>
        <translation>Uboga sonda</translation>
    </message>
    <message id="172">
        <source>Ошибка щупа</source>
        <translation>Błąd sondy</translation>
    </message>
    <message id="173">
        <source>Холодный щуп</source>
        <translation>Zimna sonda</translation>
    </message>
    <message id="201">
        <source>Описание</source>
        <translation>Opis</translation>
    </message>
    <message id="202">
        <source>Параметр :</source>
        <translation>Parametr :</translation>
    </message>
    <message id="203">
        <source>Величина :</source>
        <translation>Wartość :</translation>
    </message>
    <message id="204">
        <source>Диаграмма :</source>
        <translation>Wykres :</translation>
    </message>
    <message id="205">
        <source>Преобразователь :</source>
        <translation>Przetwornik :</translation>
    </message>
    <message id="206">
        <source>Напряжение :</source>
        <translation>Napięcie :</translation>
    </message>
    <message id="207">
        <source>Диаграмма :</source>
        <translation>Wykres :</translation>
    </message>
    <message id="210">
        <source>Обороты</source>
        <translation>Obroty</translation>
    </message>
    <message id="211">
        <source>Щуп</source>
        <translation>Sonda</translation>
    </message>
    <message id="212">
        <source>Симуляция</source>
        <translation>Symulacja</translation>
    </message>
    <message id="213">
        <source>Минимум щупа</source>
        <translation>Minimum sondy</translation>
    </message>
    <message id="214">
        <source>Максимум щупа</source>
        <translation>Maksimum sondy</translation>
    </message>
    <message id="215">
        <source>Имппульсы  впрыска</source>
        <translation>Impulsy wtrysku</translation>
    </message>
    <message id="216">
        <source>TPS</source>
        <translation>TPS</translation>
    </message>
    <message id="217">
        <source>Минимум TPS</source>
        <translation>Minimum TPS</translation>
    </message>
    <message id="218">
        <source>Максимум TPS</source>
        <translation>Maksimum TPS</translation>
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
        <translation>Poziom gazu</translation>
    </message>
    <message id="224">
        <source>Температура</source>
        <translation>Temperatura</translation>
    </message>
    <message id="225">
        <source>Разрежение</source>
        <translation>Podciśnienie</translation>
    </message>
    <message id="226">
        <source>Включатель зажигания</source>
        <translation>Stacyjka</translation>
    </message>
    <message id="227">
        <source>Аккумулятор</source>
        <translation>Akumulator</translation>
    </message>
    <message id="228">
        <source>Ram</source>
        <translation>Ram</translation>
    </message>
    <message id="229">
        <source>Время впрыска</source>
        <translation>Czas wtrysku</translation>
    </message>
    <message id="300">
        <source>Параметр :</source>
        <translation>Parametr :</translation>
    </message>
    <message id="301">
        <source>Величина :</source>
        <translation>Wartość :</translation>
    </message>
    <message id="302">
        <source>Последовательный  файл</source>
        <translation>Port  szeregowy</translation>
    </message>
    <message id="303">
        <source>  Автопоиски</source>
        <translation>  Autoszukanie</translation>
    </message>
    <message id="304">
        <source>Название  файла</source>
        <translation>Nazwa  pliku</translation>
    </message>
    <message id="305">
        <source>  Автозапись</source>
        <translation>  Autozapis</translation>
    </message>
    <message id="306">
        <source>Список параметров</source>
        <translation>Lista parametrów</translation>
    </message>
    <message id="307">
        <source>Шрифт</source>
        <translation>Czcionka</translation>
    </message>
    <message id="308">
        <source>Язык</source>
        <translation>Język</translation>
    </message>
    <message id="320">
        <source>Нет</source>
        <translation>Nie</translation>
    </message>
    <message id="321">
        <source>Да</source>
        <translation>Tak</translation>
    </message>
    <message id="322">
        <source>по функции</source>
        <translation>wg. funkcji</translation>
    </message>
    <message id="323">
        <source>по типу</source>
        <translation>wg. typu</translation>
    </message>
    <message id="360">
        <source>Файл :</source>
        <translation>Plik :</translation>
    </message>
    <message id="361">
        <source>Состояние :</source>
        <translation>Stan :</translation>
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
        <translation>B.5 Typ temp.</translation>
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
        <translation>C.0  Typ cewki</translation>
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
        <translation>C.4 Led czerw.</translation>
    </message>
    <message id="375">
        <source>Ц.5 Led зелёный</source>
        <translation>C.5 Led zielony</translation>
    </message>
    <message id="376">
        <source>Ц.6 Тип щупа</source>
        <translation>C.6 Typ sondy</translation>
    </message>
    <message id="377">
        <source>Ц.7 Тип щупа</source>
        <translation>C.7 Typ sondy</translation>
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
        <translation>D.2  Przełącznik</translation>
    </message>
    <message id="381">
        <source>Д.3 Импульсы  катушки</source>
        <translation>D.3 Impulsy  cewki</translation>
    </message>
    <message id="382">
        <source>Д.4 Симуляция</source>
        <translation>D.4 Symulacja</translation>
    </message>
    <message id="383">
        <source>Д.5 Симуляция</source>
        <translation>D.5 Symulacja</translation>
    </message>
    <message id="384">
        <source>Д.6 PU впрыска</source>
        <translation>D.6 PU wtrysku</translation>
    </message>
    <message id="385">
        <source>Д.7 PU газа</source>
        <translation>D.7 PU gazu</translation>
    </message>
    <message id="388">
        <source>Программирование</source>
        <translation>Programowanie</translation>
    </message>
    <message id="389">
        <source>Описание</source>
        <translation>Opis</translation>
    </message>
    <message id="402">
        <source>Дефекты питания</source>
        <translation>Zaniki zasilania</translation>
    </message>
    <message id="403">
        <source>  ЛИКВИДИРУЙ</source>
        <translation>  KASUJ</translation>
    </message>
    <message id="404">
        <source>Ошибка щупа</source>
        <translation>Błąd sondy</translation>
    </message>
    <message id="405">
        <source>Ошибка TPS</source>
        <translation>Błąd TPS</translation>
    </message>
    <message id="406">
        <source>Ошибка данных</source>
        <translation>Błąd danych</translation>
    </message>
    <message id="407">
        <source>Ошибка памяти</source>
        <translation>Błąd pamięci</translation>
    </message>
    <message id="408">
        <source>Ошибка MAP</source>
        <translation>Błąd MAP</translation>
    </message>
    <message id="410">
        <source>Ошибка</source>
        <translation>Błąd</translation>
    </message>
    <message id="411">
        <source> УСТАНОВИ</source>
        <translation> USTAW</translation>
    </message>
    <message id="413">
        <source>Тип катушки</source>
        <translation>Typ cewki</translation>
    </message>
    <message id="414">
        <source>  Сигнал катушки</source>
        <translation>  Sygnał cewki</translation>
    </message>
    <message id="415">
        <source> 4 цилиндра</source>
        <translation> 4 cylindry</translation>
    </message>
    <message id="416">
        <source>5 цилиндров</source>
        <translation>5 cylindrów</translation>
    </message>
    <message id="417">
        <source>6 цилиндров</source>
        <translation>6 cylindrów</translation>
    </message>
    <message id="418">
        <source>8 цилиндров</source>
        <translation>8 cylindrów</translation>
    </message>
    <message id="419">
        <source>Катушка на 2 цил.</source>
        <translation>Cewka na 2 cyl.</translation>
    </message>
    <message id="420">
        <source>Катушка на 1 цил.</source>
        <translation>Cewka na 1 cyl.</translation>
    </message>
    <message id="421">
        <source>3 цилиндра</source>
        <translation>3 cylindry</translation>
    </message>
    <message id="425">
        <source>Тип TPS</source>
        <translation>Typ TPS</translation>
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
        <translation>Przełącznik</translation>
    </message>
    <message id="430">
        <source>Переключатель отвернутый</source>
        <translation>Przełącznik odwrócony</translation>
    </message>
    <message id="431">
        <source>Отсутствие</source>
        <translation>Brak</translation>
    </message>
    <message id="432">
        <source>0-12V</source>
        <translation>0-12V</translation>
    </message>
    <message id="435">
        <source>   Порог TPS</source>
        <translation>   Próg TPS</translation>
    </message>
    <message id="436">
        <source>  Порог TPS</source>
        <translation>  Próg TPS</translation>
    </message>
    <message id="440">
        <source>Тип щупа</source>
        <translation>Typ sondy</translation>
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
        <translation>Brak</translation>
    </message>
    <message id="450">
        <source>   Холодный щуп</source>
        <translation>   Zimna sonda</translation>
    </message>
    <message id="451">
        <source>  Холодный щуп</source>
        <translation>  Zimna sonda</translation>
    </message>
    <message id="452">
        <source>   Щуп</source>
        <translation>   Wejście sondy</translation>
    </message>
    <message id="453">
        <source>  Щуп</source>
        <translation>  Wejście sondy</translation>
    </message>
    <message id="454">
        <source>Стандарт</source>
        <translation>Standard</translation>
    </message>
    <message id="455">
        <source>Безреактивный</source>
        <translation>Wysokoomowe</translation>
    </message>
    <message id="456">
        <source>(-) Безреактивный</source>
        <translation>(-) Wysokoomowe</translation>
    </message>
    <message id="457">
        <source>(+) Безреактивный</source>
        <translation>(+) Wysokoomowe</translation>
    </message>
    <message id="459">
        <source>  Сосание</source>
        <translation>  Ssanie</translation>
    </message>
    <message id="460">
        <source>Симуляция</source>
        <translation>Symulacja</translation>
    </message>
    <message id="461">
        <source>  Симуляция</source>
        <translation>  Symulacja</translation>
    </message>
    <message id="462">
        <source>Масса</source>
        <translation>Masa</translation>
    </message>
    <message id="463">
        <source>Собственная</source>
        <translation>Własna</translation>
    </message>
    <message id="464">
        <source>Отключён</source>
        <translation>Wyłączona</translation>
    </message>
    <message id="465">
        <source>Типичный</source>
        <translation>Typowa</translation>
    </message>
    <message id="466">
        <source>Авто</source>
        <translation>Auto</translation>
    </message>
    <message id="470">
        <source>   Время HI</source>
        <translation>   Czas HI</translation>
    </message>
    <message id="471">
        <source>   Время LO</source>
        <translation>   Czas LO</translation>
    </message>
    <message id="472">
        <source>   Время выкл.</source>
        <translation>   Czas wył.</translation>
    </message>
    <message id="473">
        <source>   Импульсы</source>
        <translation>   Impulsy</translation>
    </message>
    <message id="475">
        <source>Тип переключения</source>
        <translation>Typ przełączania</translation>
    </message>
    <message id="476">
        <source>Обороты + TPS</source>
        <translation>Obroty + TPS</translation>
    </message>
    <message id="477">
        <source>Обороты вверх</source>
        <translation>Obroty w górę</translation>
    </message>
    <message id="478">
        <source>Обороты вниз</source>
        <translation>Obroty w dół</translation>
    </message>
    <message id="479">
        <source>Время выключения</source>
        <translation>Czas wyłączenia</translation>
    </message>
    <message id="480">
        <source>Время переключения</source>
        <translation>Czas przełączenia</translation>
    </message>
    <message id="481">
        <source>Темп. переключения</source>
        <translation>Temperatura przełączenia</translation>
    </message>
    <message id="482">
        <source>   Температура</source>
        <translation>   Temperatura</translation>
    </message>
    <message id="483">
        <source>Обороты переключения</source>
        <translation>Obroty przełączenia</translation>
    </message>
    <message id="484">
        <source>Максим. обороты газа</source>
        <translation>Max obroty na gazie</translation>
    </message>
    <message id="490">
        <source>Реле</source>
        <translation>Przekaźnik</translation>
    </message>
    <message id="491">
        <source>Эмуляция впрысков</source>
        <translation>Emulacja wtrysków</translation>
    </message>
    <message id="492">
        <source>Ликвидирование памяти</source>
        <translation>Kasowanie pamięci</translation>
    </message>
    <message id="495">
        <source>Показания уровня</source>
        <translation>Wskaźnik poziomu</translation>
    </message>
    <message id="496">
        <source>90 ом  снижающийся</source>
        <translation>90 om malejący</translation>
    </message>
    <message id="497">
        <source>90 ом растущий</source>
        <translation>90 om rosnący</translation>
    </message>
    <message id="498">
        <source>50 килоом снижающийся</source>
        <translation>50 kiloom malejący</translation>
    </message>
    <message id="499">
        <source>50 килоом растущий</source>
        <translation>50 kiloom rosnący</translation>
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
        <translation>  Rezerwa poziomu gazu</translation>
    </message>
    <message id="505">
        <source>Поз. максим. мотора</source>
        <translation>Pozycja maks. motoru</translation>
    </message>
    <message id="506">
        <source>Поз. для 3000 обор</source>
        <translation>Pozycja dla 3000 obr</translation>
    </message>
    <message id="507">
        <source>Поз. для 900 обор</source>
        <translation>Pozycja dla 900 obr</translation>
    </message>
    <message id="508">
        <source>Поз. миним. мотора</source>
        <translation>Pozycja min. motoru</translation>
    </message>
    <message id="509">
        <source>Сосание</source>
        <translation>Ssanie</translation>
    </message>
    <message id="510">
        <source>Опцион открытия</source>
        <translation>Opc. otwarcia</translation>
    </message>
    <message id="511">
        <source>  Опцион открытия</source>
        <translation>  Opc. otwarcia</translation>
    </message>
    <message id="512">
        <source>   Порог TPS</source>
        <translation>   Próg TPS</translation>
    </message>
    <message id="513">
        <source>   Мотор на поз.</source>
        <translation>   Motor na poz.</translation>
    </message>
    <message id="514">
        <source>   Скорость мотора</source>
        <translation>   Pręd. motoru</translation>
    </message>
    <message id="515">
        <source>    Порог TPS</source>
        <translation>    Próg TPS</translation>
    </message>
    <message id="516">
        <source>    Мотор на поз.</source>
        <translation>    Motor na poz.</translation>
    </message>
    <message id="517">
        <source>    Скорость мотора</source>
        <translation>    Pręd. motoru</translation>
    </message>
    <message id="520">
        <source>Опцион CUT-OFF</source>
        <translation>Opc. CUT-OFF</translation>
    </message>
    <message id="521">
        <source>  Опцион CUT-OFF</source>
        <translation>  Opc. CUT-OFF</translation>
    </message>
    <message id="522">
        <source>   Порог оборотов</source>
        <translation>   Próg obrotów</translation>
    </message>
    <message id="523">
        <source>   Мотор на поз.</source>
        <translation>   Motor na poz.</translation>
    </message>
    <message id="524">
        <source>   Скорость мотора</source>
        <translation>   Pręd. motoru</translation>
    </message>
    <message id="525">
        <source>    Порог оборотов</source>
        <translation>    Próg obrotów</translation>
    </message>
    <message id="526">
        <source>    Мотор на поз.</source>
        <translation>    Motor na poz.</translation>
    </message>
    <message id="527">
        <source>    Скорость  мотора</source>
        <translation>    Pręd. motoru</translation>
    </message>
    <message id="530">
        <source>Рег. от TPS</source>
        <translation>Reg. od TPS</translation>
    </message>
    <message id="531">
        <source>  Рег. от TPS</source>
        <translation>  Reg. od TPS</translation>
    </message>
    <message id="532">
        <source>   Гистерезис TPS</source>
        <translation>   Histereza TPS</translation>
    </message>
    <message id="533">
        <source>   Обогащение</source>
        <translation>   Wzbogacenie</translation>
    </message>
    <message id="534">
        <source>   Обеднение</source>
        <translation>   Zubożenie</translation>
    </message>
    <message id="535">
        <source>   Скорость мотора</source>
        <translation>   Pręd. motoru</translation>
    </message>
    <message id="536">
        <source>    Гистерезис</source>
        <translation>    Histereza</translation>
    </message>
    <message id="537">
        <source>    Обогащение</source>
        <translation>    Wzbogacenie</translation>
    </message>
    <message id="538">
        <source>    Обеднение</source>
        <translation>    Zubożenie</translation>
    </message>
    <message id="539">
        <source>    Скорость мотора</source>
        <translation>    Pręd. motoru</translation>
    </message>
    <message id="540">
        <source>Рег. от щупа</source>
        <translation>Reg. od sondy</translation>
    </message>
    <message id="541">
        <source>  Рег от щупа</source>
        <translation>  Reg. od sondy</translation>
    </message>
    <message id="542">
        <source>   Порог щупа</source>
        <translation>   Próg sondy</translation>
    </message>
    <message id="543">
        <source>   Скорость мотора</source>
        <translation>   Pręd. motoru</translation>
    </message>
    <message id="544">
        <source>    Порог щупа</source>
        <translation>    Próg sondy</translation>
    </message>
    <message id="545">
        <source>    Скорость мотора</source>
        <translation>    Pręd. motoru</translation>
    </message>
    <message id="546">
        <source>Рег. от оборотов</source>
        <translation>Reg. od obrotów</translation>
    </message>
    <message id="547">
        <source>    Скорость мотора</source>
        <translation>    Pręd. motoru</translation>
    </message>
    <message id="550">
        <source>Предполагаемые параметры</source>
        <translation>Parametry przewidywane</translation>
    </message>
    <message id="552">
        <source> ЛИКВИДИРУЙ</source>
        <translation> KASUJ</translation>
    </message>
    <message id="555">
        <source>НЕТ</source>
        <translation>NIE</translation>
    </message>
    <message id="556">
        <source>Да</source>
        <translation>Tak</translation>
    </message>
    <message id="570">
        <source>Тип разрежения</source>
        <translation>Typ podciśnienia</translation>
    </message>
    <message id="571">
        <source>Отсутствие</source>
        <translation>Brak</translation>
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
        <translation>Reg. od podciśnienia</translation>
    </message>
    <message id="575">
        <source>  Рег. от разрежения</source>
        <translation>  Reg. od podciśnienia</translation>
    </message>
    <message id="576">
        <source>   Обогащение</source>
        <translation>   Wzbogacenie</translation>
    </message>
    <message id="577">
        <source>   Обеднение</source>
        <translation>   Zubożenie</translation>
    </message>
    <message id="578">
        <source>   Скорость мотора</source>
        <translation>   Pręd. motoru</translation>
    </message>
    <message id="579">
        <source>    Обогащение</source>
        <translation>    Wzbogacenie</translation>
    </message>
    <message id="580">
        <source>    Обеднение</source>
        <translation>    Zubożenie</translation>
    </message>
    <message id="581">
        <source>    Скорость мотора</source>
        <translation>    Pręd. motoru</translation>
    </message>
    <message id="590">
        <source>Снижающийся</source>
        <translation>Malejący</translation>
    </message>
    <message id="591">
        <source>Растущий</source>
        <translation>Rosnący</translation>
    </message>
    <message id="592">
        <source>Разгерметизация</source>
        <translation>Rozszczelnienie</translation>
    </message>
    <message id="700">
        <source> MERVOLANTE !</source>
        <translation> MERVOLANTE !</translation>
    </message>
    <message id="701">
        <source> Плохое расширение названия файла</source>
        <translation> Złe rozszerzenie nazwy pliku</translation>
    </message>
    <message id="702">
        <source> Нельзя открыть файл</source>
        <translation> Nie można otworzyć pliku</translation>
    </message>
    <message id="703">
        <source> Ошибочные данные</source>
        <translation> Błędne dane</translation>
    </message>
    <message id="704">
        <source> Занести ли параметры из файла в командоконтроллер ?
<byte value="xd"/>  Да - прочитай файл и запиши в командоконтроллер
<byte value="xd"/> Нет - разъедини командоконтроллер  и прочитай файл</source>
        <translation> Przenieść parametry z pliku do sterownika ?
<byte value="xd"/>  Tak - odczytaj plik i zapisz go w sterowniku
<byte value="xd"/> Nie - rozłącz sterownik i odczytaj plik</translation>
    </message>
    <message id="705">
        <source> Установить ли фабричные параметрыкомандоконтроллера ?
<byte value="xd"/> Это повлечёт за собой потерю актуальных установок!</source>
        <translation> Ustawić fabryczne parametry sterownika ?
<byte value="xd"/> Aktualne ustawienia zostaną utracone!</translation>
    </message>
    <message id="720">
        <source>Закрытие СОМ</source>
        <translation>Zamknięcie COM</translation>
    </message>
    <message id="721">
        <source>Открытие СОМ</source>
        <translation>Otwarcie COM</translation>
    </message>
    <message id="722">
        <source> Ошибка</source>
        <translation> Błąd</translation>
    </message>
    <message id="723">
        <source> ОК</source>
        <translation> OK</translation>
    </message>
    <message id="724">
        <source>Отсутствие  связи</source>
        <translation>Brak  połączenia</translation>
    </message>
    <message id="725">
        <source>Показания командоконтроллера</source>
        <translation>Odczyty sterownika</translation>
    </message>
    <message id="730">
        <source> Нельзя автоматически записать файл </source>
        <translation> Nie można automatycznie zapisać pliku </translation>
    </message>
    <message id="740">
        <source> Применить ли новые параметры  автоконфигурации ? </source>
        <translation> Zastosować nowe parametry autokonfiguracji ? </translation>
    </message>
    <message id="741">
        <source>
<byte value="xd"/> Для правильного обслуживания этого командоконтроллера
<byte value="xd"/> требуется новейшая  версия  программы
<byte value="xd"/>  минимум V</source>
        <translation>
<byte value="xd"/> Do prawidłowej obsługi tego sterownika
<byte value="xd"/> potrzebna jest najnowsza wersja programu
<byte value="xd"/>  minimum V</translation>
    </message>
    <message id="742">
        <source>  Один из опционов регулировки от щупа или оборотов должен быть включён .  </source>
        <translation>  Jedna z opcji regulacji od sondy lub od obrotów musi być włączona .  </translation>
    </message>
    <message id="743">
        <source>
<byte value="xd"/>  Величины позиции шагового двигателя  - кажутся быть неправильными (рекомендуются растущие величины) .  </source>
        <translation>
<byte value="xd"/>  Wartości pozycji silnika krokowego - wydają się błędne (zalecane są wartości rosnące) .  </translation>
    </message>
    <message id="744">
        <source>
<byte value="xd"/>  Величины оборотов переключения нагаз - кажутся быть неправильными (рекомендуется диапазон 1000 - 3000) .  </source>
        <translation>
<byte value="xd"/>  Wartości obrotów przełączenia na gaz - wydają się błędne (zalecany zakres 1000 - 3000) .  </translation>
    </message>
    <message id="745">
        <source>
<byte value="xd"/>  Величины максимальных оборотов на газе должны превышать величины оборотов переключения на газ .  </source>
        <translation>
<byte value="xd"/>  Maksymalne obroty na gazie muszą przekraczać obroty przełączenia na gaz .  </translation>
    </message>
    <message id="746">
        <source>
<byte value="xd"/>  Величины порога щупа - кажутся быть неправильными .  </source>
        <translation>
<byte value="xd"/>  Wartości progu sondy - wydają się błędne .  </translation>
    </message>
    <message id="760">
        <source>Старт автоконфигурации на бензине0 </source>
        <translation>Start autokonfiguracji na benzynie </translation>
    </message>
    <message id="761">
        <source>        [БЕНЗИН]</source>
        <translation>        [BENZYNA]</translation>
    </message>
    <message id="762">
        <source>Старт автоконфигурации на газе</source>
        <translation>Start autokonfiguracji na gazie</translation>
    </message>
    <message id="763">
        <source>        [ГАЗ]</source>
        <translation>        [GAZ]</translation>
    </message>
    <message id="764">
        <source>  Установи ход работы на БЕНЗИН</source>
        <translation>  Ustaw tryb pracy na BENZYNA</translation>
    </message>
    <message id="765">
        <source>  Запусти двигатель</source>
        <translation>  Uruchom silnik</translation>
    </message>
    <message id="766">
        <source>  Сохраняй малые обороты</source>
        <translation>  Utrzymuj niskie obroty</translation>
    </message>
    <message id="767">
        <source>  Медленно перейди к 3000 обор./мин</source>
        <translation>  Powoli przejdź do 3000 obr./min</translation>
    </message>
    <message id="768">
        <source>  [Продолжай] - конфигурация на газе</source>
        <translation>  [Dalej] - konfiguracja na gazie</translation>
    </message>
    <message id="769">
        <source>  [ Примени ] - запиши установки</source>
        <translation>  [ Zastosuj ] - zapisz ustawienia</translation>
    </message>
    <message id="770">
        <source>  [Аннулируй] - опусти установки</source>
        <translation>  [Anuluj] - porzuć ustawienia</translation>
    </message>
    <message id="771">
        <source> Переключить ли ход работы  командоконтроллера ?</source>
        <translation> Przełączyć tryb pracy sterownika ?</translation>
    </message>
    <message id="774">
        <source>  Установи ход работы на АВТО</source>
        <translation>  Ustaw tryb pracy na AUTO</translation>
    </message>
    <message id="775">
        <source>  Запусти двигатель</source>
        <translation>  Uruchom silnik</translation>
    </message>
    <message id="776">
        <source>  Увеличь  обороты чтобы перейти на ГАЗ</source>
        <translation>  Zwiększ obroty, aby przejść na GAZ</translation>
    </message>
    <message id="777">
        <source>  Установи двигатель на малых оборотах</source>
        <translation>  Ustaw silnik na niskich obrotach</translation>
    </message>
    <message id="778">
        <source>  Сохрани 3000 обор/мин</source>
        <translation>  Utrzymuj 3000 obr/min</translation>
    </message>
    <message id="779">
        <source>  [ Примени ] - запиши установки</source>
        <translation>  [ Zastosuj ] - zapisz ustawienia</translation>
    </message>
    <message id="780">
        <source>  [Аннулируй] - опусти установки</source>
        <translation>  [Anuluj] - porzuć ustawienia</translation>
    </message>
    <message id="781">
        <source>  и отрегулируй редуктор, чтобы шаговой  двигатель</source>
        <translation>  i wyreguluj reduktor, aby silnik krokowy</translation>
    </message>
    <message id="782">
        <source>  [работал в пределе 60-80 шагов</source>
        <translation>  [pracował w granicach 60-80 kroków</translation>
    </message>
    <message id="783">
        <source>  [Продолжай] - подтверди выполненеие</source>
        <translation>  [Dalej] - potwierdź wykonanie</translation>
    </message>
    <message id="784">
        <source>КОНФИГУРАЦИЯ НА БЕНЗИНЕ</source>
        <translation>KONFIGURACJA NA BENZYNIE</translation>
    </message>
    <message id="785">
        <source>КОНФИГУРАЦИЯ НА ГАЗЕ</source>
        <translation>KONFIGURACJA NA GAZIE</translation>
    </message>
    <message id="900">
        <source>Программирование !</source>
        <translation>Programowanie !</translation>
    </message>
    <message id="901">
        <source>   Начать ли запись программирования ? 
<byte value="xd"/></source>
        <translation>   Rozpocząć programowanie ? 
<byte value="xd"/></translation>
    </message>
    <message id="902">
        <source>Чтение файла : </source>
        <translation>Odczyt pliku : </translation>
    </message>
    <message id="903">
        <source>Время до окончания : </source>
        <translation>Czas do końca : </translation>
    </message>
    <message id="909">
        <source>   Программирование прервано ! Нет связи ! 
<byte value="xd"/></source>
        <translation>   Programowanie przerwane ! Brak połączenia ! 
<byte value="xd"/></translation>
    </message>
    <message id="910">
        <source>   Программирование окончено ошибкой ! 
<byte value="xd"/></source>
        <translation>   Programowanie zakończone błędem ! 
<byte value="xd"/></translation>
    </message>
    <message id="911">
        <source>   Программирование окончено удачно . 
<byte value="xd"/></source>
        <translation>   Programowanie zakończone pomyślnie . 
<byte value="xd"/></translation>
    </message>
    <message id="920">
        <source>        Ошибка программирования !        </source>
        <translation>        Błąd programowania !        </translation>
    </message>
    <message id="921">
        <source>
<byte value="xd"/> Последнее программирование не окончено .</source>
        <translation>
<byte value="xd"/> Ostatnie programowanie nie zostało zakończone .</translation>
    </message>
    <message id="922">
        <source>
<byte value="xd"/> Последнее программирование окончено ошибкой .</source>
        <translation>
<byte value="xd"/> Ostatnie programowanie zakończyło się błędem .</translation>
    </message>
    <message id="923">
        <source>
<byte value="xd"/> Ошибка контрольных сумм .</source>
        <translation>
<byte value="xd"/> Błąd sum kontrolnych .</translation>
    </message>
    <message id="924">
        <source>
<byte value="xd"/> Отсутствие контрольных сумм .</source>
        <translation>
<byte value="xd"/> Brak sum kontrolnych .</translation>
    </message>
    <message id="930">
        <source>Помощь [F1]</source>
        <translation>Pomoc [F1]</translation>
    </message>
    <message id="931">
        <source>Открывает окно помощи
<byte value="xd"/> используйтакже клавишу [F1]</source>
        <translation>Otwiera okno pomocy
<byte value="xd"/> użyj także klawisza [F1]</translation>
    </message>
    <message id="1220">
        <source>Воспроизвести историю [Ctrl+P]</source>
        <translation>Odtwórz historię [Ctrl+P]</translation>
    </message>
    <message id="1221">
        <source>Пауза [Ctrl+P]</source>
        <translation>Pauza [Ctrl+P]</translation>
    </message>
    <message id="1222">
        <source>Скорость воспроизведения</source>
        <translation>Prędkość odtwarzania</translation>
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
        <translation>Plik nie różni się od parametrów sterownika</translation>
    </message>
    <message id="1231">
        <source>Байты без строки в списке (номер: командоконтроллер → файл): </source>
        <translation>Bajty bez wiersza na liście (numer: sterownik → plik): </translation>
    </message>
    <message id="1232">
        <source> Параметры из файла: байт к записи в командоконтроллер: </source>
        <translation> Parametry z pliku: bajty do zapisu w sterowniku: </translation>
    </message>
    <message id="1240">
        <source> Не записано в командоконтроллер: </source>
        <translation> Nie zapisano w sterowniku: </translation>
    </message>
    <message id="1241">
        <source> Записываю снова в командоконтроллер: </source>
        <translation> Ponowny zapis w sterowniku: </translation>
    </message>
    <message id="1242">
        <source> Эти изменения не дошли до командоконтроллера и не записаны:</source>
        <translation> Te zmiany nie dotarły do sterownika i nie są zapisane:</translation>
    </message>
    <message id="1243">
        <source>Ошибки</source>
        <translation>Błędy</translation>
    </message>
    <message id="1244">
        <source>Файл другой модели или версии командоконтроллера: </source>
        <translation>Plik innego modelu lub wersji sterownika: </translation>
    </message>
    <message id="1245">
        <source>Резервная копия параметров: </source>
        <translation>Kopia zapasowa parametrów: </translation>
    </message>
    <message id="1246">
        <source>Резервная копия параметров не записана: </source>
        <translation>Kopia zapasowa parametrów nie zapisana: </translation>
    </message>
    <message id="1250">
        <source>файл визуализации (*.orvv)|*.orvv|файл параметров  (*.orvp)|*.orvp</source>
        <translation>plik wizualizacji (*.orvv)|*.orvv|plik parametrów  (*.orvp)|*.orvp</translation>
    </message>
    <message id="1251">
        <source>файл визуализации  (*.orvv)|*.orvv|файл параметров (*.orvp)|*.orvp|(*.*)|*.*</source>
        <translation>plik wizualizacji  (*.orvv)|*.orvv|plik parametrów (*.orvp)|*.orvp|(*.*)|*.*</translation>
    </message>
    <message id="1300">
        <source>нет места на диске</source>
        <translation>brak miejsca na dysku</translation>
    </message>
    <message id="1301">
        <source>превышена квота диска</source>
        <translation>przekroczony limit dysku</translation>
    </message>
    <message id="1302">
        <source>нет доступа</source>
        <translation>brak dostępu</translation>
    </message>
    <message id="1303">
        <source>диск только для чтения</source>
        <translation>dysk tylko do odczytu</translation>
    </message>
    <message id="1304">
        <source>нет такого файла или папки</source>
        <translation>nie ma takiego pliku ani folderu</translation>
    </message>
    <message id="1305">
        <source>это папка, а не файл</source>
        <translation>to jest folder, a nie plik</translation>
    </message>
    <message id="1306">
        <source>файл слишком большой</source>
        <translation>plik jest za duży</translation>
    </message>
    <message id="1307">
        <source>ошибка чтения или записи на диске</source>
        <translation>błąd odczytu lub zapisu na dysku</translation>
    </message>
    <message id="1308">
        <source>занято другой программой</source>
        <translation>zajęte przez inny program</translation>
    </message>
    <message id="1309">
        <source>нет такого устройства</source>
        <translation>nie ma takiego urządzenia</translation>
    </message>
    <message id="1310">
        <source>файл уже существует</source>
        <translation>plik już istnieje</translation>
    </message>
    <message id="1311">
        <source>слишком длинное название</source>
        <translation>za długa nazwa</translation>
    </message>
    <message id="1312">
        <source>системная ошибка </source>
        <translation>błąd systemowy </translation>
    </message>
    <message id="1313">
        <source>это не обычный файл</source>
        <translation>to nie jest zwykły plik</translation>
    </message>
    <message id="1320">
        <source> Настройки не прочитаны и при выходе не будут записаны: </source>
        <translation> Ustawienia nie odczytane i przy wyjściu nie zostaną zapisane: </translation>
    </message>
    <message id="1321">
        <source> Настройки не записаны, прежний файл остался: </source>
        <translation> Ustawienia nie zapisane, poprzedni plik pozostał: </translation>
    </message>
    <message id="1330">
        <source> Порт </source>
        <translation> Port </translation>
    </message>
    <message id="1331">
        <source>: нет такого устройства - проверь кабель и выбранный порт</source>
        <translation>: nie ma takiego urządzenia - sprawdź kabel i wybrany port</translation>
    </message>
    <message id="1332">
        <source>: порт занят другой программой</source>
        <translation>: port jest zajęty przez inny program</translation>
    </message>
    <message id="1333">
        <source>: нет доступа - добавь пользователя в группу dialout (sudo usermod -aG dialout ИМЯ) и войди снова</source>
        <translation>: brak dostępu - dodaj użytkownika do grupy dialout (sudo usermod -aG dialout NAZWA) i zaloguj się ponownie</translation>
    </message>
    <message id="1334">
        <source>: нет доступа - устройство принадлежит группе </source>
        <translation>: brak dostępu - urządzenie należy do grupy </translation>
    </message>
    <message id="1335">
        <source>: </source>
        <translation>: </translation>
    </message>
    <message id="1340">
        <source>нет устройства</source>
        <translation>brak urządzenia</translation>
    </message>
    <message id="1350">
        <source>Использование:</source>
        <translation>Użycie:</translation>
    </message>
    <message id="1351">
        <source>открыть файл параметров (.orvp) или визуализации (.orvv)</source>
        <translation>otwórz plik parametrów (.orvp) lub wizualizacji (.orvv)</translation>
    </message>
    <message id="1352">
        <source>записывать обмен по линии в файл</source>
        <translation>zapisuj ruch na linii do pliku</translation>
    </message>
    <message id="1353">
        <source>устройство каждого из портов COM1..COM4</source>
        <translation>urządzenie każdego z portów COM1..COM4</translation>
    </message>
    <message id="1354">
        <source>визуализация в виде CSV</source>
        <translation>wizualizacja jako CSV</translation>
    </message>
    <message id="1355">
        <source>строки параметров, которые отличаются</source>
        <translation>wiersze parametrów, które się różnią</translation>
    </message>
    <message id="1356">
        <source>эта справка</source>
        <translation>ta pomoc</translation>
    </message>
    <message id="1357">
        <source>версия программы</source>
        <translation>wersja programu</translation>
    </message>
    <message id="1358">
        <source>Неизвестный параметр: </source>
        <translation>Nieznany parametr: </translation>
    </message>
    <message id="1400">
        <source>Отчёт о настройке командоконтроллера</source>
        <translation>Raport ustawień sterownika</translation>
    </message>
    <message id="1401">
        <source>Программа</source>
        <translation>Program</translation>
    </message>
    <message id="1402">
        <source>Командоконтроллер</source>
        <translation>Sterownik</translation>
    </message>
    <message id="1403">
        <source>Дата и время</source>
        <translation>Data i godzina</translation>
    </message>
    <message id="1404">
        <source>Мастерская</source>
        <translation>Warsztat</translation>
    </message>
    <message id="1405">
        <source>Номер автомобиля / VIN</source>
        <translation>Numer rejestracyjny / VIN</translation>
    </message>
    <message id="1407">
        <source>Отличия от фабричных параметров (фабричное → сейчас):</source>
        <translation>Różnice od parametrów fabrycznych (fabryczne → teraz):</translation>
    </message>
    <message id="1408">
        <source>Фабричные параметры этого командоконтроллера неизвестны</source>
        <translation>Parametry fabryczne tego sterownika nie są znane</translation>
    </message>
    <message id="1409">
        <source>Отличия от последней резервной копии (копия → сейчас):</source>
        <translation>Różnice od najnowszej kopii zapasowej (kopia → teraz):</translation>
    </message>
    <message id="1410">
        <source>Резервной копии этого командоконтроллера нет</source>
        <translation>Brak kopii zapasowej tego sterownika</translation>
    </message>
    <message id="1411">
        <source>Отчёт о параметрах в PDF [Ctrl+R]</source>
        <translation>Raport parametrów w PDF [Ctrl+R]</translation>
    </message>
    <message id="1412">
        <source>Запиши отчёт о параметрах</source>
        <translation>Zapisz raport parametrów</translation>
    </message>
    <message id="1413">
        <source>Печать...</source>
        <translation>Drukuj...</translation>
    </message>
    <message id="1414">
        <source>Записать PDF...</source>
        <translation>Zapisz PDF...</translation>
    </message>
    <message id="1415">
        <source>Нет параметров для отчёта: прочитай командоконтроллер или открой файл параметров</source>
        <translation>Brak parametrów do raportu: odczytaj sterownik lub otwórz plik parametrów</translation>
    </message>
    <message id="1416">
        <source>Отчёт записан: </source>
        <translation>Raport zapisany: </translation>
    </message>
    <message id="1417">
        <source>Фабричные параметры для отчёта: </source>
        <translation>Parametry fabryczne do raportu: </translation>
    </message>
    <message id="1418">
        <source>Фабричные параметры для отчёта не записаны: </source>
        <translation>Parametry fabryczne do raportu nie zapisane: </translation>
    </message>
    <message id="1420">
        <source>отчёт о параметрах файла в PDF</source>
        <translation>raport parametrów pliku w PDF</translation>
    </message>
    <message id="1421">
        <source>прочитать параметры командоконтроллера в файл</source>
        <translation>odczytać parametry sterownika do pliku</translation>
    </message>
    <message id="1422">
        <source>записать параметры файла в командоконтроллер</source>
        <translation>zapisać parametry pliku do sterownika</translation>
    </message>
    <message id="1423">
        <source>записать визуализацию живых данных</source>
        <translation>nagrać dane na żywo</translation>
    </message>
    <message id="1424">
        <source>запрограммировать командоконтроллер образом .img</source>
        <translation>zaprogramować sterownik obrazem .img</translation>
    </message>
    <message id="1425">
        <source>порт COM1..COM4 вместо порта из настроек</source>
        <translation>port COM1..COM4 zamiast portu z ustawień</translation>
    </message>
    <message id="1426">
        <source> Командоконтроллер не ответил</source>
        <translation> Sterownik nie odpowiedział</translation>
    </message>
    <message id="1427">
        <source>Записать эти параметры в командоконтроллер? [y/N] </source>
        <translation>Zapisać te parametry do sterownika? [y/N] </translation>
    </message>
    <message id="1428">
        <source> Отменено</source>
        <translation> Anulowano</translation>
    </message>
    <message id="1429">
        <source> Командоконтроллер содержит параметры файла</source>
        <translation> Sterownik zawiera parametry pliku</translation>
    </message>
    <message id="1430">
        <source> Командоконтроллер не содержит параметры файла:</source>
        <translation> Sterownik nie zawiera parametrów pliku:</translation>
    </message>
    <message id="1431">
        <source> Записано: </source>
        <translation> Zapisano: </translation>
    </message>
    <message id="1432">
        <source> Образ не подходит к этому командоконтроллеру: </source>
        <translation> Obraz nie pasuje do tego sterownika: </translation>
    </message>
    <message id="1433">
        <source> Программирование: </source>
        <translation> Programowanie: </translation>
    </message>
    <message id="1434">
        <source> Неверное значение: </source>
        <translation> Błędna wartość: </translation>
    </message>
    <message id="1435">
        <source> Живых записей: </source>
        <translation> Zapisów na żywo: </translation>
    </message>
    <message id="1436">
        <source>Продолжить? [y/N] </source>
        <translation>Kontynuować? [y/N] </translation>
    </message>
    <message id="1437">
        <source> Связь с командоконтроллером потеряна</source>
        <translation> Połączenie ze sterownikiem utracone</translation>
    </message>
</context>
</TS>
