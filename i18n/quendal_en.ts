<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!--
  Quendal in English. The sources are the Russian texts exactly as the program writes them;
  the build makes the window's quendal_en.qm (lrelease), the page's en.json and the core's
  table (scripts/catalogue.py) from this one file.

  Glossary: the game's terms, the same everywhere and short enough for the window's columns.

    Ирониум, Ураниум, Либериум        Ironium, Uranium, Liberium
    Ир., Ур., Либ.                    Ir., Ur., Li.
    минералы (на поверхности)         minerals (surface minerals)
    концентрация                      concentration
    добыча                            mined (a year)
    кТ                                kT
    годность, пригодность, % среды    habitability, hab.
    негативная планета                negative planet (habitability 0 or below)
    пригодная планета                 habitable planet
    факторы среды                     environment factors: gravity, temperature, radiation
    оптимум расы                      race's optimum
    иммунитет                         immune
    терраформ, терраформинг           terraforming
    полный терраформ                  full terraforming
    доступный терраформ               terraforming available
    Мин.терраформ., Макс.терраформ.   Min.terraform., Max.terraform. (template elements)
    фабрики, шахты                    factories, mines
    колонисты, население              colonists, population
    десант                            landing force
    прирост                           growth
    домашний мир                      homeworld
    раса, описание расы               race, race description
    список планет                     planet list
    рейтинг планет                    planet ranking
    ОП (очередь производства)         PQ (production queue)
    шаблон производства               production template
    элемент очереди                   queue element
    подбор вариантов ОП               PQ variant search
    П1..П6                            P1..P6 (the search's parameters)
    особь, популяция, поколение       individual, population, generation
    элита, выживание, мутация,        elite, survival, mutation, crossover
    скрещивание
    максимизация                      maximise
    ЛЕТ                               years
    Расчет                            Calculate
    Загрузить, Сохранить, Очистить    Load, Save, Clear
    Прервать, Прервано                Stop, Stopped
    Прошло, Осталось                  Elapsed, Left
    В график                          To chart
-->
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Language</name>
    <message>
        <source>Русский</source>
        <comment>The name of this catalogue's language, written in that language.</comment>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>Колонистов дают 1 ресурс в год</source>
        <translation>colonists make 1 resource a year</translation>
    </message>
    <message>
        <source>Ресурсов дают в год 10 фабрик</source>
        <translation>resources a year from 10 factories</translation>
    </message>
    <message>
        <source>Ресурсов стоит 1 фабрика</source>
        <translation>resources a factory costs</translation>
    </message>
    <message>
        <source>Фабрик, управляемых 10000 колонистами</source>
        <translation>factories 10000 colonists operate</translation>
    </message>
    <message>
        <source>Ресурсов стоит 1 шахта</source>
        <translation>resources a mine costs</translation>
    </message>
    <message>
        <source>Шахт, управляемых 10000 колонистами</source>
        <translation>mines 10000 colonists operate</translation>
    </message>
    <message>
        <source>кТ каждого минерала в год добывают 5 шахт</source>
        <translation>kT of each mineral a year from 5 mines</translation>
    </message>
    <message>
        <source>1. Численность популяции особей (вариантов)</source>
        <translation>1. Population size (individuals, variants)</translation>
    </message>
    <message>
        <source>2. Число поколений (итераций алгоритма)</source>
        <translation>2. Generations (iterations of the algorithm)</translation>
    </message>
    <message>
        <source>3. &apos;Элита&apos;, % от популяции (немутируемые особи)</source>
        <translation>3. &apos;Elite&apos;, % of the population (never mutated)</translation>
    </message>
    <message>
        <source>4. Фактор выживания: &gt;= (F(x)-min)/(max-min)</source>
        <translation>4. Survival factor: &gt;= (F(x)-min)/(max-min)</translation>
    </message>
    <message>
        <source>5. Вероятность мутации особи</source>
        <translation>5. Probability of an individual&apos;s mutation</translation>
    </message>
    <message>
        <source>6. Вероятность скрещивания особи</source>
        <translation>6. Probability of an individual&apos;s crossover</translation>
    </message>
    <message>
        <source>Гравитация:</source>
        <translation>Gravity:</translation>
    </message>
    <message>
        <source>Температура:</source>
        <translation>Temperature:</translation>
    </message>
    <message>
        <source>Радиация:</source>
        <translation>Radiation:</translation>
    </message>
    <message>
        <source>Иммунитет</source>
        <translation>Immune</translation>
    </message>
    <message>
        <source>Ирониум</source>
        <translation>Ironium</translation>
    </message>
    <message>
        <source>Ураниум</source>
        <translation>Uranium</translation>
    </message>
    <message>
        <source>Либериум</source>
        <translation>Liberium</translation>
    </message>
    <message>
        <source>Ир.</source>
        <translation>Ir.</translation>
    </message>
    <message>
        <source>Ур.</source>
        <translation>Ur.</translation>
    </message>
    <message>
        <source>Либ.</source>
        <translation>Li.</translation>
    </message>
    <message>
        <source>% среды</source>
        <translation>% hab.</translation>
    </message>
    <message>
        <source>Насел-е</source>
        <translation>Popul.</translation>
    </message>
    <message>
        <source>Ресурсы</source>
        <translation>Resources</translation>
    </message>
    <message>
        <source>Фабрики</source>
        <translation>Factories</translation>
    </message>
    <message>
        <source>Шахты</source>
        <translation>Mines</translation>
    </message>
    <message>
        <source>Планета (%):</source>
        <translation>Planet (%):</translation>
    </message>
    <message>
        <source>Население (чел):</source>
        <translation>Population:</translation>
    </message>
    <message>
        <source>Ресурсы:</source>
        <translation>Resources:</translation>
    </message>
    <message>
        <source>Фабрики:</source>
        <translation>Factories:</translation>
    </message>
    <message>
        <source>Шахты:</source>
        <translation>Mines:</translation>
    </message>
    <message>
        <source>Минералы (кТ):</source>
        <translation>Minerals (kT):</translation>
    </message>
    <message>
        <source>ОП для негативной планеты</source>
        <translation>PQ for a negative planet</translation>
    </message>
    <message>
        <source>ОП для пригодной планеты</source>
        <translation>PQ for a habitable planet</translation>
    </message>
    <message>
        <source>Терраформинг</source>
        <translation>Terraforming</translation>
    </message>
    <message>
        <source>Население</source>
        <translation>Population</translation>
    </message>
    <message>
        <source>Минералы</source>
        <translation>Minerals</translation>
    </message>
    <message>
        <source>     |% год|         |       |       |</source>
        <comment>The data table's first header line: the columns keep their widths (5, 5, 9, 7 and 7 characters between the bars).</comment>
        <translation>     |  %  |         |Re-    |Fac-   |</translation>
    </message>
    <message>
        <source> Год |ности|Население|Ресурсы|Фабрики| Шахты</source>
        <comment>The data table's second header line, in the same columns.</comment>
        <translation> Year| hab.|Colonists|sources|tories | Mines</translation>
    </message>
    <message>
        <source>   |       Ирониум/Ураниум/Либериум</source>
        <comment>The minerals table's first header line.</comment>
        <translation>   |       Ironium/Uranium/Liberium</translation>
    </message>
    <message>
        <source>Год|Концентр-я | Добыча в год | На поверхности</source>
        <comment>The minerals table's second header line: 3, 11 and 14 characters before the bars.</comment>
        <translation>Yr.|Concentr.  | Mined a year | On the surface</translation>
    </message>
    <message>
        <source>Место</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>№</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Планета</source>
        <translation>Planet</translation>
    </message>
    <message>
        <source>% нач.</source>
        <translation>% start</translation>
    </message>
    <message>
        <source>% кон.</source>
        <translation>% end</translation>
    </message>
    <message>
        <source>Мин.терраформ.</source>
        <translation>Min.terraform.</translation>
    </message>
    <message>
        <source>Мах.терраформ.</source>
        <translation>Max.terraform.</translation>
    </message>
    <message>
        <source>Макс.терраформ.</source>
        <translation>Max.terraform.</translation>
    </message>
    <message>
        <source>неопред-й эл-нт</source>
        <translation>undefined item</translation>
    </message>
    <message>
        <source>, необитаемая</source>
        <comment>Added to a planet's name in a planet list of eight columns.</comment>
        <translation>, uninhabited</translation>
    </message>
    <message>
        <source>, обитаемая</source>
        <comment>Added to a planet's name in a planet list of twenty columns.</comment>
        <translation>, inhabited</translation>
    </message>
    <message>
        <source>П1</source>
        <comment>The search's parameter 1, named in a message.</comment>
        <translation>P1</translation>
    </message>
    <message>
        <source>П2</source>
        <comment>The search's parameter 2, named in a message.</comment>
        <translation>P2</translation>
    </message>
    <message>
        <source>П3</source>
        <comment>The search's parameter 3, named in a message.</comment>
        <translation>P3</translation>
    </message>
    <message>
        <source>П4</source>
        <comment>The search's parameter 4, named in a message.</comment>
        <translation>P4</translation>
    </message>
    <message>
        <source>П5</source>
        <comment>The search's parameter 5, named in a message.</comment>
        <translation>P5</translation>
    </message>
    <message>
        <source>П6</source>
        <comment>The search's parameter 6, named in a message.</comment>
        <translation>P6</translation>
    </message>
    <message>
        <source>Интервал расчета</source>
        <comment>The search tab's field of years, named in a message as its label names it.</comment>
        <translation>Interval</translation>
    </message>
    <message>
        <source>ЛЕТ</source>
        <comment>The years field of the planet dynamics tab, named in a message as its label names it.</comment>
        <translation>years</translation>
    </message>
    <message>
        <source>%1: %2 вне допустимых пределов %3..%4</source>
        <translation>%1: %2 is outside the allowed range %3..%4</translation>
    </message>
    <message>
        <source>Не удалось загрузить файл «%1»: %2</source>
        <translation>Could not load the file &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>%1 ч. %2 мин</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 мин %2 сек</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 секунд</source>
        <translation>%1 seconds</translation>
    </message>
    <message>
        <source>%1 миллисек</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>строка %1: </source>
        <comment>Before a file's message: where it found the fault.</comment>
        <translation>line %1: </translation>
    </message>
    <message>
        <source>файл больше %1 МиБ</source>
        <translation>the file is larger than %1 MiB</translation>
    </message>
    <message>
        <source>двоичные данные (байт %1): не текстовый файл</source>
        <translation>binary data (byte %1): not a text file</translation>
    </message>
    <message>
        <source>нет раздела</source>
        <translation>the section is missing</translation>
    </message>
    <message>
        <source>нет ключа</source>
        <translation>the key is missing</translation>
    </message>
    <message>
        <source>«%1» — не целое число</source>
        <translation>&apos;%1&apos; is not a whole number</translation>
    </message>
    <message>
        <source>%1 вне %2..%3</source>
        <translation>%1 is outside %2..%3</translation>
    </message>
    <message>
        <source>не файл расчета: первая строка не %1</source>
        <translation>not a calculation file: the first line is not %1</translation>
    </message>
    <message>
        <source>файл обрывается до [End]: он не дописан</source>
        <translation>the file ends before [End]: it was cut short</translation>
    </message>
    <message>
        <source>текст после [End]</source>
        <translation>text after [End]</translation>
    </message>
    <message>
        <source>раздел указан дважды</source>
        <translation>the section is given twice</translation>
    </message>
    <message>
        <source>«%1» — не раздел, не ключ и не комментарий</source>
        <translation>&apos;%1&apos; is neither a section, a key nor a comment</translation>
    </message>
    <message>
        <source>ключ указан дважды (впервые в строке %1)</source>
        <translation>the key is given twice (first on line %1)</translation>
    </message>
    <message>
        <source>неизвестный элемент «%1» (min, max:N, fab:N или mine:N)</source>
        <translation>unknown element &apos;%1&apos; (min, max:N, fab:N or mine:N)</translation>
    </message>
    <message>
        <source>«%1» без числа, нужно как в fab:5</source>
        <translation>&apos;%1&apos; needs a count, as in fab:5</translation>
    </message>
    <message>
        <source>«%1» — не %2 числа через запятую</source>
        <translation>&apos;%1&apos; is not %2 numbers separated by commas</translation>
    </message>
    <message>
        <source>длиннее %1 символов, которые он вмещает</source>
        <translation>longer than the %1 characters it holds</translation>
    </message>
    <message>
        <source>версия %1 записана более новым Quendal (этот читает версию %2)</source>
        <translation>version %1 was written by a newer Quendal (this one reads version %2)</translation>
    </message>
    <message>
        <source>неизвестная версия «%1»</source>
        <translation>unknown version &apos;%1&apos;</translation>
    </message>
    <message>
        <source>нет раздела (раса занимает [Step1]..[Step4] и [Planet])</source>
        <translation>the section is missing (the race takes [Step1] to [Step4] and [Planet])</translation>
    </message>
    <message>
        <source>не читается</source>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>Нет списка планет</source>
        <translation>No planet list</translation>
    </message>
    <message>
        <source>Подбор ОП: нет особи</source>
        <translation>PQ search: no individual</translation>
    </message>
</context>
<context>
    <name>quendal::TFormMain</name>
    <message>
        <source>Динамика планеты</source>
        <translation>Planet dynamics</translation>
    </message>
    <message>
        <source>Загрузить</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Файл:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>Раса:</source>
        <translation>Race:</translation>
    </message>
    <message>
        <source>Минимальный набор входных данных:</source>
        <translation>Minimum input data:</translation>
    </message>
    <message>
        <source>Начальный процент годности планеты:</source>
        <translation>Start habitability of the planet, %:</translation>
    </message>
    <message>
        <source>Начальное число колонистов (в сотнях):</source>
        <translation>Start colonists (in hundreds):</translation>
    </message>
    <message>
        <source>Процент прироста колонистов (за год):</source>
        <translation>Colonist growth, % a year:</translation>
    </message>
    <message>
        <source>Расчет</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ЛЕТ</source>
        <translation>years</translation>
    </message>
    <message>
        <source>Шаблон производства:</source>
        <translation>Production template:</translation>
    </message>
    <message>
        <source>для негативной планеты</source>
        <translation>for a negative planet</translation>
    </message>
    <message>
        <source>для пригодной планеты</source>
        <translation>for a habitable planet</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Элемент очереди:</source>
        <translation>Queue element:</translation>
    </message>
    <message>
        <source>Добавить в очередь</source>
        <translation>Add to queue</translation>
    </message>
    <message>
        <source>График</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>Таблица данных</source>
        <translation>Data table</translation>
    </message>
    <message>
        <source>Минералы</source>
        <translation>Minerals</translation>
    </message>
    <message>
        <source>Дополнительные параметры</source>
        <translation>Additional parameters</translation>
    </message>
    <message>
        <source>Из описания расы:</source>
        <translation>From the race description:</translation>
    </message>
    <message>
        <source>Полный терраформ</source>
        <translation>Full terraforming</translation>
    </message>
    <message>
        <source>Доступный терраформ (%):</source>
        <translation>Terraforming available (%):</translation>
    </message>
    <message>
        <source>Список планет:</source>
        <translation>Planet list:</translation>
    </message>
    <message>
        <source>Рейтинг…</source>
        <translation>Ranking…</translation>
    </message>
    <message>
        <source>Характеристика планеты:</source>
        <translation>Planet characteristics:</translation>
    </message>
    <message>
        <source>Пригодность (%):</source>
        <translation>Habitability (%):</translation>
    </message>
    <message>
        <source>Терраформ до (%):</source>
        <translation>Terraformed to (%):</translation>
    </message>
    <message>
        <source>Фабрик:</source>
        <translation>Fact.:</translation>
    </message>
    <message>
        <source>Шахт:</source>
        <translation>Mines:</translation>
    </message>
    <message>
        <source>Факторы среды:</source>
        <translation>Environment:</translation>
    </message>
    <message>
        <source>Оптимум для расы:</source>
        <translation>Race&apos;s optimum:</translation>
    </message>
    <message>
        <source>Диапазон факторов среды: от 0 до 100, при иммунитете 102. В оптимуме также указаны мин.и макс.значения для расы.</source>
        <translation>Environment factors run from 0 to 100, 102 when immune. The optimum also shows the race&apos;s min. and max. values.</translation>
    </message>
    <message>
        <source>Минералы:</source>
        <translation>Minerals:</translation>
    </message>
    <message>
        <source>Домашний мир</source>
        <translation>Homeworld</translation>
    </message>
    <message>
        <source>Концен     Минералы  трация      на поверх.</source>
        <comment>Two column headers in one label that wraps after its first half: &quot;Концен-трация&quot; over the concentrations and &quot;Минералы на поверх.&quot; over the surface minerals.</comment>
        <translation>Concen-    Surface   tration    minerals</translation>
    </message>
    <message>
        <source>Подбор вариантов ОП</source>
        <translation>PQ variant search</translation>
    </message>
    <message>
        <source>Параметры алгоритма (П1..П6):</source>
        <translation>Algorithm parameters (P1..P6):</translation>
    </message>
    <message>
        <source>Примечание:</source>
        <translation>Note:</translation>
    </message>
    <message>
        <source>Генетический алгоритм - это вероятностно направленный метод перебора вариантов. Общее число оцениваемых вариантов равно (в первом приближении) П1*П2, а точнее: численность популяции + изменения на каждой итерации).</source>
        <translation>The genetic algorithm is a probabilistically directed search through the variants. The number of variants it evaluates is about P1*P2, more exactly: the population size + the changes of each iteration.</translation>
    </message>
    <message>
        <source>Постановка задачи:</source>
        <translation>Task:</translation>
    </message>
    <message>
        <source>Планета (%, факторы):</source>
        <translation>Planet (%, factors):</translation>
    </message>
    <message>
        <source>Интервал расчета:</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source>Десант:  (в сотнях)</source>
        <translation>Landing (hundreds):</translation>
    </message>
    <message>
        <source>Максимизация:</source>
        <translation>Maximise:</translation>
    </message>
    <message>
        <source>Прошло:</source>
        <translation>Elapsed:</translation>
    </message>
    <message>
        <source>Осталось:</source>
        <translation>Left:</translation>
    </message>
    <message>
        <source>В график</source>
        <translation>To chart</translation>
    </message>
    <message>
        <source>Лучший найденный вариант ОП:</source>
        <translation>Best PQ variant found:</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>  Quendal - это эмулятор динамики НАЧАЛЬНОГО развития планеты в игре Torvan, с возможностью 
производства терраформинга, фабрик и шахт из автоматической очереди производства.

  Что следует иметь ввиду:
  ~~~~~~~~~~~~~~~~
- без загруженного описания расы очередь производства недоступна,
  рассчитывается только население;
- если в очереди есть фабрики, учитываются минералы на поверхности (см. доп.
  параметры); сам я всегда гружу в транспорт, кроме колонистов, немного минералов;
- можно задавать отрицательную годность планеты;
- отрицательная годность зависит от худшего фактора среды вне диапазона расы,
  положительная - это произведение отклонений всех факторов от оптимума расы,
  кроме факторов, к которым у расы иммунитет;
- задание годности ставит все факторы среды в худшие для нее значения, их
  можно поправить на вкладке &apos;Дополнительные параметры&apos;;
- факторы среды изменяются от 0 до 100, при иммунитете ставится 102;
- динамика верна качественно, а количественно - очень приблизительно.

  Графики:
  ~~~~~~
- годность планеты - по левой шкале, в %;
- население - по правой шкале, в тысячах колонистов;
- ресурсы - по правой шкале, в единицах;
- фабрики и шахты - по правой шкале, в штуках.

  PS: После изменения ЛЮБОГО параметра необходимо нажимать &apos;Расчет&apos; =:)</source>
        <translation>  Quendal emulates the dynamics of a planet&apos;s INITIAL development in the game Torvan,
with terraforming, factories and mines produced from the automatic production queue.

  What to keep in mind:
  ~~~~~~~~~~~~~~~~~~~~
- without a race description loaded there is no production queue,
  only the population is calculated;
- when the queue holds factories, the surface minerals count (see the additional
  parameters); I always load a few minerals into the transport besides the colonists;
- the planet&apos;s habitability may be negative;
- a negative habitability follows the worst environment factor outside the race&apos;s range,
  a positive one is the product of every factor&apos;s deviation from the race&apos;s optimum,
  except the factors the race is immune to;
- setting the habitability puts every environment factor at its worst for it; they
  can be corrected on the tab &apos;Additional parameters&apos;;
- environment factors run from 0 to 100, 102 when immune;
- the dynamics is right in kind, but in numbers only very roughly.

  Charts:
  ~~~~~~~
- planet habitability - on the left scale, in %;
- population - on the right scale, in thousands of colonists;
- resources - on the right scale, in units;
- factories and mines - on the right scale, in pieces.

  PS: After changing ANY parameter, press &apos;Calculate&apos; =:)</translation>
    </message>
    <message>
        <source>Язык:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Как в системе</source>
        <translation>As the system</translation>
    </message>
    <message>
        <source>Язык сменится при следующем запуске.</source>
        <translation>The language changes at the next start.</translation>
    </message>
    <message>
        <source>Результаты расчета (*.cal *.CAL)</source>
        <translation>Calculation results (*.cal *.CAL)</translation>
    </message>
    <message>
        <source>Сохранить результат расчета</source>
        <translation>Save the calculation</translation>
    </message>
    <message>
        <source>Загрузить результаты расчета</source>
        <translation>Load a calculation</translation>
    </message>
    <message>
        <source>Загрузить список планет</source>
        <translation>Load a planet list</translation>
    </message>
    <message>
        <source>Список планет (*.txt *.TXT)</source>
        <translation>Planet list (*.txt *.TXT)</translation>
    </message>
    <message>
        <source>Загрузить описание расы</source>
        <translation>Load a race description</translation>
    </message>
    <message>
        <source>Описание расы (*.urc *.URC)</source>
        <translation>Race description (*.urc *.URC)</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Подбор ОП</source>
        <translation>PQ search</translation>
    </message>
    <message>
        <source>Прервать</source>
        <translation>Stop</translation>
    </message>
</context>
<context>
    <name>quendal::FormExport</name>
    <message>
        <source>Сохранить изображение</source>
        <translation>Save the image</translation>
    </message>
    <message>
        <source>Изображение PNG (*.png);;Рисунок SVG (*.svg)</source>
        <translation>PNG image (*.png);;SVG drawing (*.svg)</translation>
    </message>
    <message>
        <source>Сохранить как CSV</source>
        <translation>Save as CSV</translation>
    </message>
    <message>
        <source>Таблица CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>Не удалось сохранить файл «%1»: %2</source>
        <translation>Could not save the file &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Сохранить изображение…</source>
        <translation>Save image…</translation>
    </message>
    <message>
        <source>Копировать изображение</source>
        <translation>Copy image</translation>
    </message>
    <message>
        <source>Сохранить как CSV…</source>
        <translation>Save as CSV…</translation>
    </message>
    <message>
        <source>Год</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>% годности</source>
        <translation>% habitability</translation>
    </message>
    <message>
        <source>Население</source>
        <translation>Population</translation>
    </message>
    <message>
        <source>Ресурсы</source>
        <translation>Resources</translation>
    </message>
    <message>
        <source>Фабрики</source>
        <translation>Factories</translation>
    </message>
    <message>
        <source>Шахты</source>
        <translation>Mines</translation>
    </message>
    <message>
        <source>Концентрация %1</source>
        <translation>Concentration %1</translation>
    </message>
    <message>
        <source>Добыча в год %1</source>
        <translation>Mined a year %1</translation>
    </message>
    <message>
        <source>На поверхности %1</source>
        <translation>Surface %1</translation>
    </message>
</context>
<context>
    <name>quendal::RankView</name>
    <message>
        <source>Рейтинг планет</source>
        <translation>Planet ranking</translation>
    </message>
    <message>
        <source>с подбором ОП</source>
        <translation>with PQ search</translation>
    </message>
    <message>
        <source>Рассчитать</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>Сохранить как CSV…</source>
        <translation>Save as CSV…</translation>
    </message>
    <message>
        <source>Максимизация:</source>
        <translation>Maximise:</translation>
    </message>
    <message>
        <source>Прошло:</source>
        <translation>Elapsed:</translation>
    </message>
    <message>
        <source>Осталось:</source>
        <translation>Left:</translation>
    </message>
    <message>
        <source>Прервано</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>Нет списка планет</source>
        <translation>No planet list</translation>
    </message>
    <message>
        <source>Ошибка: рейтинг не рассчитан</source>
        <translation>Error: the ranking was not calculated</translation>
    </message>
    <message>
        <source>Прервано, рассчитано планет: %1 из %2</source>
        <translation>Stopped, planets calculated: %1 of %2</translation>
    </message>
    <message>
        <source>Прервать</source>
        <translation>Stop</translation>
    </message>
</context>
<context>
    <name>Page</name>
    <message>
        <source>Динамика колонизированной планеты: население, терраформинг, фабрики, шахты и минералы по годам</source>
        <translation>A colonised planet&apos;s growth: population, terraforming, factories, mines and minerals year by year</translation>
    </message>
    <message>
        <source>Разделы</source>
        <translation>Sections</translation>
    </message>
    <message>
        <source>Динамика планеты</source>
        <translation>Planet dynamics</translation>
    </message>
    <message>
        <source>Дополнительные параметры</source>
        <translation>Additional parameters</translation>
    </message>
    <message>
        <source>Подбор вариантов ОП</source>
        <translation>PQ variant search</translation>
    </message>
    <message>
        <source>Загрузить</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Файл описания расы</source>
        <translation>Race description file</translation>
    </message>
    <message>
        <source>Файл:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>Раса:</source>
        <translation>Race:</translation>
    </message>
    <message>
        <source>Минимальный набор входных данных:</source>
        <translation>Minimum input data:</translation>
    </message>
    <message>
        <source>Начальный процент годности планеты:</source>
        <translation>Start habitability of the planet, %:</translation>
    </message>
    <message>
        <source>Начальное число колонистов (в сотнях):</source>
        <translation>Start colonists (in hundreds):</translation>
    </message>
    <message>
        <source>Процент прироста колонистов (за год):</source>
        <translation>Colonist growth, % a year:</translation>
    </message>
    <message>
        <source>Расчет</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Файл расчета</source>
        <translation>Calculation file</translation>
    </message>
    <message>
        <source>ЛЕТ</source>
        <translation>years</translation>
    </message>
    <message>
        <source>Ссылка</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>Ссылка на расчет</source>
        <translation>Link to the calculation</translation>
    </message>
    <message>
        <source>ссылка на расчет</source>
        <translation>link to the calculation</translation>
    </message>
    <message>
        <source>Шаблон производства:</source>
        <translation>Production template:</translation>
    </message>
    <message>
        <source>для негативной планеты</source>
        <translation>for a negative planet</translation>
    </message>
    <message>
        <source>Шаблон для негативной планеты</source>
        <translation>Template for a negative planet</translation>
    </message>
    <message>
        <source>для пригодной планеты</source>
        <translation>for a habitable planet</translation>
    </message>
    <message>
        <source>Шаблон для пригодной планеты</source>
        <translation>Template for a habitable planet</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Элемент очереди:</source>
        <translation>Queue element:</translation>
    </message>
    <message>
        <source>Элемент</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>Мин.терраформ.</source>
        <translation>Min.terraform.</translation>
    </message>
    <message>
        <source>Мах.терраформ.</source>
        <translation>Max.terraform.</translation>
    </message>
    <message>
        <source>Фабрики</source>
        <translation>Factories</translation>
    </message>
    <message>
        <source>Шахты</source>
        <translation>Mines</translation>
    </message>
    <message>
        <source>Число единиц</source>
        <translation>Number of units</translation>
    </message>
    <message>
        <source>Добавить в очередь</source>
        <translation>Add to queue</translation>
    </message>
    <message>
        <source>Результаты</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>График</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>Таблица данных</source>
        <translation>Data table</translation>
    </message>
    <message>
        <source>Минералы</source>
        <translation>Minerals</translation>
    </message>
    <message>
        <source>Из описания расы:</source>
        <translation>From the race description:</translation>
    </message>
    <message>
        <source>Полный терраформ</source>
        <translation>Full terraforming</translation>
    </message>
    <message>
        <source>Доступный терраформ (%):</source>
        <translation>Terraforming available (%):</translation>
    </message>
    <message>
        <source>Список планет:</source>
        <translation>Planet list:</translation>
    </message>
    <message>
        <source>Список планет</source>
        <translation>Planet list</translation>
    </message>
    <message>
        <source>Планета из списка</source>
        <translation>Planet from the list</translation>
    </message>
    <message>
        <source>Рейтинг…</source>
        <translation>Ranking…</translation>
    </message>
    <message>
        <source>Характеристика планеты:</source>
        <translation>Planet characteristics:</translation>
    </message>
    <message>
        <source>Пригодность (%):</source>
        <translation>Habitability (%):</translation>
    </message>
    <message>
        <source>Терраформ до (%):</source>
        <translation>Terraformed to (%):</translation>
    </message>
    <message>
        <source>Фабрик:</source>
        <translation>Factories:</translation>
    </message>
    <message>
        <source>Шахт:</source>
        <translation>Mines:</translation>
    </message>
    <message>
        <source>Факторы среды:</source>
        <translation>Environment:</translation>
    </message>
    <message>
        <source>Оптимум для расы:</source>
        <translation>Race&apos;s optimum:</translation>
    </message>
    <message>
        <source>Диапазон факторов среды: от 0 до 100, при иммунитете 102. В оптимуме также указаны мин.и макс.значения для расы.</source>
        <translation>Environment factors run from 0 to 100, 102 when immune. The optimum also shows the race&apos;s min. and max. values.</translation>
    </message>
    <message>
        <source>Минералы:</source>
        <translation>Minerals:</translation>
    </message>
    <message>
        <source>Домашний мир</source>
        <translation>Homeworld</translation>
    </message>
    <message>
        <source>Концен­трация</source>
        <comment>With a soft hyphen where the word may break.</comment>
        <translation>Concen­tration</translation>
    </message>
    <message>
        <source>Минералы на поверх.</source>
        <translation>Surface minerals</translation>
    </message>
    <message>
        <source>Рейтинг планет</source>
        <translation>Planet ranking</translation>
    </message>
    <message>
        <source>Максимизация:</source>
        <translation>Maximise:</translation>
    </message>
    <message>
        <source>с подбором ОП</source>
        <translation>with PQ search</translation>
    </message>
    <message>
        <source>Рассчитать</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>Сохранить как CSV…</source>
        <translation>Save as CSV…</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Ход рейтинга</source>
        <translation>Ranking progress</translation>
    </message>
    <message>
        <source>Прошло:</source>
        <translation>Elapsed:</translation>
    </message>
    <message>
        <source>Осталось:</source>
        <translation>Left:</translation>
    </message>
    <message>
        <source>Параметры алгоритма (П1..П6):</source>
        <translation>Algorithm parameters (P1..P6):</translation>
    </message>
    <message>
        <source>Примечание:</source>
        <translation>Note:</translation>
    </message>
    <message>
        <source>Генетический алгоритм - это вероятностно направленный метод перебора вариантов. Общее число оцениваемых вариантов равно (в первом приближении) П1*П2, а точнее: численность популяции + изменения на каждой итерации).</source>
        <translation>The genetic algorithm is a probabilistically directed search through the variants. The number of variants it evaluates is about P1*P2, more exactly: the population size + the changes of each iteration.</translation>
    </message>
    <message>
        <source>Постановка задачи:</source>
        <translation>Task:</translation>
    </message>
    <message>
        <source>Планета (%, факторы):</source>
        <translation>Planet (%, factors):</translation>
    </message>
    <message>
        <source>Интервал расчета:</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source>Десант: (в сотнях)</source>
        <comment>The page's text, blanks run together as the page shows them.</comment>
        <translation>Landing (hundreds):</translation>
    </message>
    <message>
        <source>Ход подбора</source>
        <translation>Search progress</translation>
    </message>
    <message>
        <source>В график</source>
        <translation>To chart</translation>
    </message>
    <message>
        <source>Лучший найденный вариант ОП:</source>
        <translation>Best PQ variant found:</translation>
    </message>
    <message>
        <source>ОП для негативной планеты</source>
        <translation>PQ for a negative planet</translation>
    </message>
    <message>
        <source>ОП для пригодной планеты</source>
        <translation>PQ for a habitable planet</translation>
    </message>
    <message>
        <source>Язык:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Как в браузере</source>
        <translation>As the browser</translation>
    </message>
    <message>
        <source>Язык сменится, когда страница откроется снова.</source>
        <translation>The language changes when the page is opened again.</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Сохранить результат расчета</source>
        <translation>Save the calculation</translation>
    </message>
    <message>
        <source>Ссылка скопирована</source>
        <translation>Link copied</translation>
    </message>
    <message>
        <source>Ссылка повреждена: в ней нет расчета Quendal. Открыта страница по умолчанию.</source>
        <translation>The link is broken: it holds no Quendal calculation. The default page is open.</translation>
    </message>
    <message>
        <source>ссылка</source>
        <comment>How a message names a calculation opened from a link.</comment>
        <translation>link</translation>
    </message>
    <message>
        <source>Ссылка не открыта, открыта страница по умолчанию. %1</source>
        <translation>The link was not opened, the default page is open. %1</translation>
    </message>
    <message>
        <source>Год</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>%1: концентрация</source>
        <translation>%1: concentration</translation>
    </message>
    <message>
        <source>%1: на поверхности</source>
        <translation>%1: on the surface</translation>
    </message>
    <message>
        <source>Прервать</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Подбор ОП: %1</source>
        <translation>PQ search: %1</translation>
    </message>
    <message>
        <source>Рейтинг планет: %1</source>
        <translation>Planet ranking: %1</translation>
    </message>
    <message>
        <source>Прервано, рассчитано планет: %1 из %2</source>
        <translation>Stopped, planets calculated: %1 of %2</translation>
    </message>
    <message>
        <source>Прервано</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>Адрес страницы: seed=%1 вне допустимых пределов 0..4294967295, взят случайный seed</source>
        <translation>The page&apos;s address: seed=%1 is outside the allowed range 0..4294967295, a random seed is taken</translation>
    </message>
    <message>
        <source>обработчик из другой версии страницы, перезагрузите её</source>
        <comment>A worker of another build of the page refused the job.</comment>
        <translation>a worker of another version of the page, reload it</translation>
    </message>
</context>
</TS>
